// The input check: the entered text and code, and the part name of the code
// on the area's catalogue CDs.
#include <cstring>

#include "hinb/hinb.h"
#include "hinb_state.h"
#include "pxall/cd_popup.h"
#include "pxall/cdrom.h"
#include "pxall/part_records.h"
#include "pxall/strutil.h"

namespace hinb {

namespace {

constexpr const char* kModule = "PXHINB02";

// Copies the caller's string into a field, up to its terminator; the rest
// of the field blank.
void take(const VbString* s, char* field, int width) {
    std::memset(field, ' ', static_cast<size_t>(width));
    if (s == nullptr || s->data == nullptr) return;
    for (int i = 0; i < width && i < s->len && s->data[i] != 0; ++i) field[i] = s->data[i];
}

void give(VbString* s, const char* field, int width) {
    if (s == nullptr || s->data == nullptr || s->len < 1) return;
    std::memcpy(s->data, field, static_cast<size_t>(width < s->len ? width : s->len));
}

}  // namespace

// The area's catalogue set-up entries; false (logged) when there is none.
bool area_list(int32_t* list, int* count) {
    int32_t top = -1, found = 0;
    if (pxall::make_setuped_top_cdid_table(&top, &found) != 0 || found == 0) {
        log("PXHINB01", "hinb_top_cdid_tbl", "SetupedCd Nothing", -1, 0, 20);
        return false;
    }
    *count = pxall::area_setup_entries(area_letter(), list, kCdTableSize);
    if (*count == 0) {
        list[0] = top;
        *count = 1;
    }
    return true;
}

}  // namespace hinb

using namespace hinb;

extern "C" {

int32_t hinb_in_check_input(int32_t n, VbString* text, VbString* code, VbString* name_out, VbString* code_out,
                            int16_t* msg) {
    State& s = st();
    if (msg != nullptr) *msg = 0;
    // The input block; the text field holds 60 characters, so no length
    // reaches past it.
    if (n > kTextSize) n = kTextSize;
    if (n < 0) n = 0;
    s.input_n = n;
    take(text, s.input_text, kTextSize);
    s.input_text[kTextSize] = 0;
    take(code, s.input_code, kCodeSize);
    s.input_code[kCodeSize] = 0;
    s.have_input = true;
    std::memset(s.search_text, '0', sizeof s.search_text);
    std::memcpy(s.search_text, s.input_text, kTextSize);
    std::memcpy(s.search_code, s.input_code, kCodeSize);

    if (n == 0 || pxall::memall(s.input_text, ' ', n) || pxall::memall(s.input_text, '_', n)) return 1;

    int32_t list[kCdTableSize];
    int count = 0;
    if (!area_list(list, &count)) return -1;

    char file[16];
    hinmei_name(file, sizeof file);
    pxall::CdCursor* cursor = nullptr;
    unsigned char rec[pxall::keyed::kBlockSize];
    int found = 0;
    s.cds_found = 0;
    for (;;) {
        int detail = 0;
        int r = pxall::cdget_some_cd_data(file, "", 7, 2, -1, list, count, rec, s.search_code, kCodeSize, 0, nullptr,
                                          nullptr, 0, &cursor, &detail);
        if (r == -1) break;
        if (r == 4) return 4;
        if (r != 0) {
            log(kModule, "hinb_in_check_input", "cdget_some_cd_data", r, detail, 1);
            return -1;
        }
        namespace hm = pxall::hinmei_rec;
        std::memcpy(s.input_text, rec + hm::kName, hm::kNameSize);
        give(name_out, s.input_text, kTextSize);
        give(code_out, reinterpret_cast<const char*>(rec + hm::kPnc), kCodeSize);
        ++found;
        // A code is once in a part-name file: each record comes from another CD.
        if (s.cds_found < kCdRemembered) ++s.cds_found;
    }
    if (found == 0) {
        if (msg != nullptr) *msg = 867;
        return 2;
    }
    return 0;
}

}  // extern "C"
