// Single names from the language files of a data set: a figure name of the
// current vehicle's catalogue, a part name by its part-name code.
#include <cstdio>
#include <cstring>

#include "pxall/blocks.h"
#include "pxall/cdrom.h"
#include "pxall/errlog.h"
#include "pxall/hinban.h"

namespace pxall {

namespace {

constexpr const char* kModule = "PXSUBC30";
constexpr int kNameSize = 60;
constexpr int kHinmKeySet = 7;
constexpr int kHinmCdOption = 700;
constexpr int kFigmKeySet = 14;

// Data-language file name: "FIGM01.DAT", "HINM01.DAT".
void language_file(const char* base, char* out, size_t size) {
    const unsigned char* top = get_ctop_addr();
    char lang[3] = {'0', '1', 0};
    if (top != nullptr && top[ctop::kDataLangCode] != 0) std::memcpy(lang, top + ctop::kDataLangCode, 2);
    std::snprintf(out, size, "%s%2.2s.DAT", base, lang);
}

int vehicle_setup_index() {
    const unsigned char* car = get_ccar_addr();
    return car == nullptr ? -1 : get_i32(car + ccar::kSetupIndex);
}

}  // namespace

int get_figmei(const char* figure, char* name, int* detail) {
    int d = 0;
    if (detail == nullptr) detail = &d;
    *detail = 0;
    const unsigned char* car = get_ccar_addr();
    if (figure == nullptr || name == nullptr || car == nullptr) return 128;
    // Figure numbers fall into ranges, each a key character of the file.
    const char* ranges = std::strncmp(figure, "3000", 4) < 0   ? "123"
                         : std::strncmp(figure, "5000", 4) < 0 ? "4"
                         : std::strncmp(figure, "8000", 4) < 0 ? "5"
                                                               : "6";
    char file[16];
    language_file("FIGM", file, sizeof file);
    CdHandle* h = nullptr;
    int r = cdopen(file, "", kFigmKeySet, 0, -1, vehicle_setup_index(), 0, &h, detail);
    if (r != 0) {
        if (r != 4) syerr_message(kModule, "get_figmei", "cdopen", r, *detail, 10);
        return r;
    }
    int result = -1;
    for (const char* c = ranges; *c != 0 && result == -1; ++c) {
        r = cdreopen(h, detail);
        if (r != 0) {
            syerr_message(kModule, "get_figmei", "cdreopen", r, *detail, 20);
            result = r;
            break;
        }
        char key[7];
        std::memcpy(key, car + ccar::kCatalog, 6);
        key[6] = *c;
        // A block: the most a damaged master could make a record.
        unsigned char rec[keyed::kBlockSize];
        while ((r = cdread(rec, key, 7, 0, nullptr, nullptr, h, detail)) == 0) {
            if (std::memcmp(rec + 7, figure, 4) == 0) {
                std::memcpy(name, rec + 11, kNameSize);
                result = 0;
                break;
            }
        }
        if (r != 0 && r != -1) {
            syerr_message(kModule, "get_figmei", "cdread", r, *detail, 30);
            result = r;
        }
    }
    int c = cdclose(&h, detail);
    if (c != 0) {
        syerr_message(kModule, "get_figmei", "cdclose", c, *detail, 40);
        if (result == 0 || result == -1) result = c;
    }
    return result;
}

int get_hinmei(const char* pnc, char* name, int16_t* flag) {
    if (pnc == nullptr || name == nullptr || flag == nullptr) return 128;
    int detail = 0;
    int setup = -1;
    if (*flag == 0) {
        setup = vehicle_setup_index();
    } else {
        const unsigned char* top = get_ctop_addr();
        char letter = 0;
        if (top == nullptr || GetAreaChar(get_i32(top + ctop::kAreaIndex), &letter) != 0) {
            syerr_message(kModule, "get_hinmei", "GetAreaChar", 14, 0, 50);
            return 14;
        }
        setup = setuped_top_cdno(letter);
        if (setup < 0) {
            syerr_message(kModule, "get_hinmei", "setuped_top_cdno", 14, 0, 60);
            return 14;
        }
    }
    *flag = 0;
    char file[16];
    language_file("HINM", file, sizeof file);
    CdHandle* h = nullptr;
    int r = cdopen(file, "", kHinmKeySet, 0, -1, setup, kHinmCdOption, &h, &detail);
    if (r == 4) {
        *flag = 4;
        return 0;
    }
    if (r != 0) {
        syerr_message(kModule, "get_hinmei", file, r, detail, 70);
        return r;
    }
    unsigned char rec[keyed::kBlockSize];  // whatever record length the master states
    r = cdread(rec, pnc, 6, 0, nullptr, nullptr, h, &detail);
    int result = 0;
    if (r == 0) {
        std::memcpy(name, rec + 6, kNameSize);
    } else if (r == -1) {
        *flag = 1;
        std::memset(name, ' ', kNameSize);
    } else {
        syerr_message(kModule, "get_hinmei", "cdread", r, detail, 80);
        result = r;
    }
    cdclose(&h, &detail);
    return result;
}

}  // namespace pxall
