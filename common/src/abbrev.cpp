// The abbreviation look-up of the abbreviation screen.
#include "pxall/abbrev.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "pxall/blocks.h"
#include "pxall/cdrom.h"
#include "pxall/errlog.h"
#include "pxall/text_cut.h"
#include "pxall/wrap.h"

namespace pxall {
namespace {
constexpr int kKeySize = 20;
constexpr int kRecLen = 102;
constexpr int kLang = 20;
constexpr int kMeaning = 22, kMeaningChars = 80;
constexpr int kLineChars = 40, kLines = 3;
constexpr int kAbbrevKeySet = 4;
}  // namespace
}  // namespace pxall

extern "C" int32_t VBryak_get_mean(VbString* abbreviation, VbString* meaning, int16_t* flag) {
    using namespace pxall;
    if (flag == nullptr) return 128;
    *flag = 0;
    const unsigned char* top = get_ctop_addr();
    const unsigned char* car = get_ccar_addr();
    if (top == nullptr || car == nullptr) return 128;
    char key[kKeySize];
    std::memset(key, ' ', sizeof key);
    if (abbreviation != nullptr && abbreviation->data != nullptr && abbreviation->len > 0)
        std::memcpy(key, abbreviation->data, std::min<int32_t>(abbreviation->len, kKeySize));

    int32_t setup = get_i32(car + ccar::kNameSetupIndex);
    CdCursor* cursor = nullptr;
    unsigned char rec[kRecLen];
    int detail = 0, r;
    // Records of the key come one per language; the catalogue language's is wanted.
    while ((r = cdget_some_cd_data("RYAKUG.DAT", "", kAbbrevKeySet, 2, -1, &setup, 1, rec, key, kKeySize, 0, nullptr,
                                   nullptr, 0, &cursor, &detail)) == 0) {
        if (std::memcmp(rec + kLang, top + ctop::kDataLangCode, 2) == 0) break;
    }
    cdget_some_cd_data(nullptr, nullptr, 0, -1, 0, nullptr, 0, nullptr, nullptr, 0, 0, nullptr, nullptr, 0, &cursor,
                       nullptr);
    if (r == -1) {
        *flag = 1;
        return 0;
    }
    if (r == 4) {
        *flag = 4;
        return 0;
    }
    if (r != 0) {
        syerr_message("PXSUBR01", "ryak_get_mean", "cdget_some_cd_data", r, detail, 10);
        return r;
    }
    char text[kMeaningSize];
    std::memset(text, ' ', sizeof text);
    int32_t pos = 0;
    for (int line = 0; line < kLines; ++line) {
        char* at = text + line * (kLineChars + 2);
        if (memory_edit_2_n_data(reinterpret_cast<const char*>(rec + kMeaning), kMeaningChars, at, kLineChars, &pos) != 0)
            break;
        at[kLineChars] = '\r';
        at[kLineChars + 1] = '\n';
    }
    if (meaning != nullptr && meaning->data != nullptr && meaning->len > 0)
        put_text_field(meaning->data, std::min<size_t>(static_cast<size_t>(meaning->len), kMeaningSize),
                       std::string_view(text, kMeaningSize), ' ');
    return 0;
}
