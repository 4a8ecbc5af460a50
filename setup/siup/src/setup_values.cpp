// Staging the system settings in the shared state block, one value a call.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "pxall/blocks.h"
#include "siup/siup.h"
#include "staged_settings.h"

namespace {

namespace ct = pxall::ctop;

constexpr int kNumberChars = 7;

// atoi of at most kNumberChars characters of the value.
int number_of(const std::string& v) {
    char buf[kNumberChars + 1] = {};
    std::memcpy(buf, v.data(), std::min<size_t>(v.size(), kNumberChars));
    return std::atoi(buf);
}

void put_text(unsigned char* field, size_t size, const std::string& text) {
    std::memset(field, 0, size);
    std::memcpy(field, text.data(), std::min(text.size(), size - 1));
}

// The master directory's path on another drive.
void on_drive_of_master(unsigned char* top, size_t field, char drive) {
    unsigned char* p = top + field;
    std::memset(p, 0, ct::kDirSize);
    std::memcpy(p, top + ct::kMasterDir, ct::kDirSize - 1);
    p[0] = static_cast<unsigned char>(drive);
}

}  // namespace

void VBGet_Setup_Data(int16_t kind, const VbString* value) {
    unsigned char* top = pxall::get_ctop_addr();
    if (top == nullptr || value == nullptr) return;
    std::string v;
    if (value->data != nullptr && value->len > 0) v.assign(value->data, strnlen(value->data, value->len));
    siup::keep_before_staging(top);

    switch (kind) {
        case 0: {
            int area = number_of(v);
            if (area < 0 || area > 3) return;
            unsigned char drive = top[ct::kAreaDrives + 2 * static_cast<size_t>(area)];
            // An area that is not set up has no drive to move to.
            if (drive <= ' ') return;
            pxall::put_i32(top + ct::kAreaIndex, area);
            top[ct::kMasterDir] = drive;
            return;
        }
        case 1:
        case 2: {
            int n = number_of(v);
            if (n < 1 || n > 9) return;  // the file has no word for it
            char code[3];
            std::snprintf(code, sizeof code, "%02d", n);
            pxall::put_i16(top + (kind == 1 ? ct::kDataLangNo : ct::kMenuLangNo), static_cast<int16_t>(n));
            std::memcpy(top + (kind == 1 ? ct::kDataLangCode : ct::kMenuLangCode), code, 3);
            return;
        }
        case 3:
        case 4:
            if (v.empty()) return;
            on_drive_of_master(top, kind == 3 ? ct::kPriceDir : ct::kLocalPriceDir, v[0]);
            return;
        case 5: {
            std::memset(top + ct::kExportPrograms, 0, ct::kExportProgramSize * ct::kMaxExportPrograms);
            if (v.empty()) return;
            size_t at = 0;
            for (int i = 0; i < ct::kMaxExportPrograms; ++i) {
                size_t comma = v.find(',', at);
                std::string part = v.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
                put_text(top + ct::kExportPrograms + ct::kExportProgramSize * i, ct::kExportProgramSize, part);
                if (comma == std::string::npos) return;
                at = comma + 1;
            }
            return;
        }
        case 6:
            put_text(top + ct::kSaveEditor, ct::kSaveEditorSize, v);
            return;
        default:
            return;
    }
}
