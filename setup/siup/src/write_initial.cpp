// The settings rewrite of the environment file: the lines of the keys the
// system-settings screen owns, from the shared state block.
#include <cstring>
#include <string>

#include "pxall/blocks.h"
#include "pxall/env.h"
#include "pxall/errlog.h"
#include "pxall/setup_scan.h"
#include "siup/siup.h"
#include "staged_settings.h"
#include "stup/env_lines.h"

namespace {

namespace ct = pxall::ctop;

constexpr const char* kModule = "PXSIUP02";
constexpr const char* kFunction = "Write_Initial_Data";
constexpr int16_t kLineTooLong = 15;
constexpr const char* kAreaNames[4] = {"EU", "GR", "US", "JP"};
constexpr const char* kWords[9] = {"ENGLISH", "JAPANESE", "FRENCH", "GERMANY", "SPANISH", " ", " ", " ", "OTHER"};

std::string field(const unsigned char* top, size_t at, size_t size) {
    const char* p = reinterpret_cast<const char*>(top + at);
    return std::string(p, strnlen(p, size));
}

// The language word of a number, or null outside 1-9.
const char* word(int16_t n) { return n >= 1 && n <= 9 ? kWords[n - 1] : nullptr; }

// Rewrites the lines the settings own: 0, or the entry's failure.
int16_t rewrite(const unsigned char* top) {
    pxenv::EnvFile f;
    int err = 0;
    int r = pxenv::read_env(&f, &err);
    if (r != 0) {
        pxall::syerr_message(kModule, kFunction, r == 11 ? "fopen" : "fgets", r, err, r == 11 ? 1 : 2);
        return static_cast<int16_t>(r);
    }

    bool fits = true;
    for (size_t i = 0; i < f.lines.size(); ++i) {
        const std::string& t = f.lines[i].text;
        auto set = [&](size_t key_len, const std::string& value) {
            // The line keeps what it had up to and including the character
            // after the key.
            std::string line = t.substr(0, key_len + 1) + value;
            fits = fits && pxall::env_line_fits(line);
            f.replace(i, line);
        };
        if (f.starts(i, "ECMSTALL")) {
            std::string v;
            for (int a = 0; a < 4; ++a) {
                unsigned char d = top[ct::kAreaDrives + 2 * static_cast<size_t>(a)];
                if (d <= ' ') continue;
                if (!v.empty()) v += ",";
                v += std::string(kAreaNames[a]) + ":" + static_cast<char>(d);
            }
            set(8, v);
        } else if (f.starts(i, "ECMST")) {
            set(5, field(top, ct::kMasterDir, ct::kDirSize));
        } else if (f.starts(i, "CRNTAREA")) {
            int32_t a = pxall::get_i32(top + ct::kAreaIndex);
            set(8, a >= 0 && a <= 3 ? kAreaNames[a] : "");
        } else if (f.starts(i, "PRICE")) {
            set(5, field(top, ct::kPriceDir, ct::kDirSize).substr(0, 2));
        } else if (f.starts(i, "LOCALP")) {
            set(6, field(top, ct::kLocalPriceDir, ct::kDirSize).substr(0, 2));
        } else if (f.starts(i, "LANGUAGE") || f.starts(i, "MENULANG")) {
            // A number without a word keeps the line as it stands.
            const char* w = word(pxall::get_i16(top + (f.starts(i, "LANGUAGE") ? ct::kDataLangNo : ct::kMenuLangNo)));
            if (w != nullptr) set(8, w);
        } else if (f.starts(i, "EXPPPNHO")) {
            std::string v;
            for (int p = 0; p < ct::kMaxExportPrograms; ++p) {
                std::string one = field(top, ct::kExportPrograms + ct::kExportProgramSize * p, ct::kExportProgramSize);
                if (one.empty()) continue;
                if (!v.empty()) v += ",";
                v += one;
            }
            set(8, v);
        } else if (f.starts(i, "EXPPFSAD")) {
            set(8, field(top, ct::kSaveEditor, ct::kSaveEditorSize));
        }
    }
    // What the next start-up could not read whole is not written at all.
    if (!fits) return kLineTooLong;
    pxenv::backup_env();
    r = pxenv::commit_env(f, &err);
    if (r != 0) {
        pxall::syerr_message(kModule, kFunction, "fputs", r, err, 3);
        return static_cast<int16_t>(r);
    }
    pxall::setuped_cd_check();
    return 0;
}

}  // namespace

int16_t Write_Initial_Data() {
    unsigned char* top = pxall::get_ctop_addr();
    if (top == nullptr) return 11;
    const int16_t r = rewrite(top);
    // A file left as it was leaves the running program on what it holds.
    if (r == 0) siup::forget_staged();
    else siup::put_back_staged(top);
    return r;
}
