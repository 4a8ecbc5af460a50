// The group operations that need part names from the catalogue: the part-name
// lines of a group, adding a code to a group, and the part names of a group
// in the group files.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "groups_internal.h"
#include "platform/controls.h"
#include "platform/files.h"
#include "pxall/blocks.h"
#include "pxall/cdrom.h"
#include "pxall/errlog.h"
#include "pxall/group_layout.h"
#include "pxall/hinban.h"
#include "pxall/keyed_file.h"
#include "pxall/paths.h"

namespace pxall {

namespace {

using namespace grpfile;

// Part-name files are opened as get_hinmei opens them: key set 7, every
// drive, the CD request's option 700.
constexpr int kHinmKeySet = 7;
constexpr int kHinmCdOption = 700;
// Record reads copy one record; a whole block leaves room for any length a
// damaged master may claim.
constexpr size_t kRecordBuffer = keyed::kBlockSize;

// "HINM%2.2s.DAT" with the data language code.
std::string part_name_file() {
    char lang[3] = {' ', ' ', '\0'};
    if (const unsigned char* top = get_ctop_addr()) {
        size_t n = strnlen(reinterpret_cast<const char*>(top + ctop::kDataLangCode), 2);
        std::memcpy(lang + (2 - n), top + ctop::kDataLangCode, n);
    }
    return std::string("HINM") + lang + ".DAT";
}

int vehicle_setup_entry() {
    const unsigned char* car = get_ccar_addr();
    return car != nullptr ? get_i32(car + ccar::kSetupIndex) : -1;
}

bool all_of(const unsigned char* p, size_t n, unsigned char c) {
    for (size_t i = 0; i < n; ++i)
        if (p[i] != c) return false;
    return true;
}

}  // namespace

int g_pnc_f_read(const char* code, char* table) {
    constexpr const char* kFunction = "g_pnc_f_read";
    int32_t failure = 0;
    int index = g_mei_f_read(code, nullptr, &failure);
    if (index < 0) return failure != 0 ? failure : -1;

    char path[kPathSize] = {};
    std::strcpy(path, kCodeFile);
    int rc = get_path_name(kPathMaster, -1, path);
    if (rc != 0) {
        syerr_message(grp::kModuleFiles, kFunction, "get_path_name", rc, 0, 1);
        return rc;
    }
    std::FILE* fp = plat::fopen(path, "rb");
    if (fp == nullptr) {
        syerr_message(grp::kModuleFiles, kFunction, "fopen", 11, errno, 2);
        return 11;
    }
    unsigned char record[kRecordSize];
    if (std::fseek(fp, static_cast<long>(kRecordSize) * index, SEEK_SET) != 0) {
        int e = errno;
        std::fclose(fp);
        syerr_message(grp::kModuleFiles, kFunction, "fseek", 15, e, 3);
        return 15;
    }
    if (std::fread(record, 1, kRecordSize, fp) != kRecordSize) {
        int e = std::ferror(fp) ? errno : 0;
        std::fclose(fp);
        syerr_message(grp::kModuleFiles, kFunction, "fread", 14, e, 4);
        return 14;
    }
    std::fclose(fp);
    // No codes: a zero record of the rebuild, or a blank one of the writer.
    if (all_of(record, kPncLen, 0) || all_of(record, kPncLen, ' ')) return -1;

    CdHandle* h = nullptr;
    int detail = 0;
    const std::string name = part_name_file();
    rc = cdopen(name.c_str(), "", kHinmKeySet, 0, -1, vehicle_setup_entry(), kHinmCdOption, &h, &detail);
    if (rc != 0) {
        syerr_message(grp::kModuleFiles, kFunction, "cdopen", rc, detail, 5);
        return rc;
    }
    unsigned char buf[kRecordBuffer];
    for (int s = 0; s < kCodesPerGroup; ++s) {
        const unsigned char* slot = record + kPncLen * static_cast<size_t>(s);
        if (all_of(slot, kPncLen, 0) || all_of(slot, kPncLen, ' ')) break;
        rc = cdreopen(h, &detail);
        const char* step = "cdreopen";
        if (rc == 0) {
            rc = cdread(buf, reinterpret_cast<const char*>(slot), static_cast<int>(kPncLen), 1, nullptr, nullptr, h,
                        &detail);
            step = "cdread";
        }
        if (rc == -1 && std::strcmp(step, "cdread") == 0) continue;  // not in the catalogue: entry unchanged
        if (rc != 0) {
            int ignored = 0;
            cdclose(&h, &ignored);
            syerr_message(grp::kModuleFiles, kFunction, step, rc, detail, 6);
            return rc;
        }
        if (table != nullptr) std::memcpy(table + kPartNameRecordLen * static_cast<size_t>(s), buf, kPartNameRecordLen);
    }
    rc = cdclose(&h, &detail);
    if (rc != 0) {
        syerr_message(grp::kModuleFiles, kFunction, "cdclose", rc, detail, 7);
        return rc;
    }
    return 0;
}

}  // namespace pxall

using namespace pxall;
using namespace pxall::grpfile;

extern "C" int32_t VBMakeListGrpPnc(const char* code, int32_t hwnd, int16_t* flag) {
    constexpr const char* kFunction = "VBMakeListGrpPnc";
    int16_t dummy = 0;
    if (flag == nullptr) flag = &dummy;
    int entry = -1;
    if (*flag == 0) {
        entry = vehicle_setup_entry();
    } else {
        const unsigned char* top = get_ctop_addr();
        char letter = 0;
        if (GetAreaChar(top != nullptr ? get_i32(top + ctop::kAreaIndex) : -1, &letter) != 0) {
            syerr_message(grp::kModuleTable, kFunction, "GetAreaChar", 14, 0, 1);
            return 14;
        }
        entry = setuped_top_cdno(letter);
        if (entry < 0) {
            syerr_message(grp::kModuleTable, kFunction, "setuped_top_cdno", 14, 0, 2);
            return 14;
        }
    }
    *flag = 0;
    const unsigned char* group = grp::find(code);
    if (group == nullptr) {
        *flag = 1;
        return 0;
    }
    plat::Control* box = plat::control(hwnd);

    CdHandle* h = nullptr;
    int detail = 0;
    const std::string file = part_name_file();
    int rc = cdopen(file.c_str(), "", kHinmKeySet, 0, -1, entry, kHinmCdOption, &h, &detail);
    if (rc != 0) {
        syerr_message(grp::kModuleTable, kFunction, "cdopen", rc, detail, 3);
        return rc;
    }
    unsigned char buf[kRecordBuffer];
    for (int s = 0; s < kCodesPerGroup; ++s) {
        const unsigned char* slot = group + grpitem::kSlots + kPncLen * static_cast<size_t>(s);
        if (grp::slot_free(slot)) break;
        const char* step = "cdreopen";
        rc = cdreopen(h, &detail);
        if (rc == 0) {
            step = "cdread";
            rc = cdread(buf, reinterpret_cast<const char*>(slot), static_cast<int>(kPncLen), 1, nullptr, nullptr, h,
                        &detail);
        }
        char name[kNameLen];
        if (rc == 0) {
            std::memcpy(name, buf + kPncLen, kNameLen);
        } else if (rc == -1 && std::strcmp(step, "cdread") == 0) {
            std::memset(name, ' ', kNameLen);
        } else {
            int ignored = 0;
            cdclose(&h, &ignored);
            syerr_message(grp::kModuleTable, kFunction, step, rc, detail, 4);
            return rc;
        }
        if (box != nullptr) box->lb_add(grp::pnc_line(reinterpret_cast<const char*>(slot), name));
    }
    cdclose(&h, &detail);
    return 0;
}

extern "C" int32_t VBSetGrpPnc(int32_t hwnd, const char* code, const char* pnc, int16_t* index) {
    constexpr int16_t kNoSlot = static_cast<int16_t>(65535);
    unsigned char* group = grp::find(code);
    if (group == nullptr || index == nullptr) return 0;
    char key[kPncLen];
    grp::pad_field(key, pnc, kPncLen);

    const int16_t wanted = *index;
    int s = wanted;
    if (wanted == -1) {
        s = 0;
        while (s < kCodesPerGroup && !grp::slot_free(grp::slot_at(group, s))) ++s;
        if (s == kCodesPerGroup) {
            *index = kNoSlot;
            return 0;
        }
    } else if (wanted < 0 || wanted >= kCodesPerGroup) {
        // Only -1 and the slots 0-99 name a place in the group.
        *index = kNoSlot;
        return 0;
    }

    char name[kNameLen];
    int16_t found = 1;  // the first installed data set of the current area
    int rc = get_hinmei(key, name, &found);
    if (rc != 0) {
        syerr_message(grp::kModuleTable, "VBSetGrpPnc", "get_hinmei", rc, 0, 1);
        return rc;
    }
    if (found == 1 || found == 4) {
        *index = found;
        return 0;
    }
    std::memcpy(grp::slot_at(group, s), key, kPncLen);
    *index = 0;
    if (plat::Control* box = plat::control(hwnd)) {
        std::string line = grp::pnc_line(key, name);
        if (wanted == -1) {
            box->lb_add(line);
        } else {
            box->lb_delete(wanted);
            box->lb_insert(wanted, line);
        }
    }
    return 0;
}
