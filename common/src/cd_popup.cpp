#include "pxall/cd_popup.h"

#include <cstdio>
#include <cstring>
#include <string_view>

#include "pxall/blocks.h"
#include "pxall/cdrom.h"
#include "pxall/text_cut.h"

namespace pxall {

int area_setup_entries(char area, int32_t* list, int max) {
    const unsigned char* top = get_ctop_addr();
    if (top == nullptr || list == nullptr) return 0;
    int first = setuped_top_cdno(area);
    if (first < 0) return 0;
    int setups = get_i32(top + ctop::kSetupCount);
    if (setups > ctop::kMaxSetup) setups = ctop::kMaxSetup;
    int n = 0;
    for (int i = first; i < setups && n < max; ++i) {
        const unsigned char* e = setup_entry_addr(i);
        if (e == nullptr || e[setup_entry::kName] != static_cast<unsigned char>(area)) break;
        if (e[1] >= '0' && e[1] <= '9') list[n++] = i;
    }
    return n;
}

int cd_popup_records(char area, const char* present_text, unsigned char* out, int32_t* count, int* detail) {
    *count = 0;
    int32_t present[ctop::kMaxSetup] = {};
    int32_t present_count = 0;
    int r = cdmake_cdidtbl_alldrive(present, &present_count, detail);
    if (r != 0) return r;
    if (present_count < 0 || present_count > ctop::kMaxSetup) present_count = 0;
    int32_t entries[kPopupMaxRecords];
    int n = area_setup_entries(area, entries, kPopupMaxRecords);
    for (int k = 0; k < n; ++k) {
        const unsigned char* e = setup_entry_addr(entries[k]);
        bool in_drive = false;
        for (int j = 0; j < present_count; ++j) in_drive = in_drive || present[j] == entries[k];
        bool here = e[setup_entry::kPictureFlag] == 1 || in_drive;
        unsigned char* rec = out + static_cast<size_t>(k) * popup_rec::kSize;
        std::memset(rec, 0, popup_rec::kSize);
        char number[12];
        std::snprintf(number, sizeof number, "%02d", (k + 1) % 100);
        std::memcpy(rec + popup_rec::kNumber, number, 2);
        put_i16(rec + popup_rec::kSetupIndex, static_cast<int16_t>(entries[k]));
        rec[popup_rec::kArea] = static_cast<unsigned char>(area);
        rec[popup_rec::kPresent] = here ? '1' : '0';
        const char* d = reinterpret_cast<const char*>(e + setup_entry::kCdDate);
        char* text = reinterpret_cast<char*>(rec + popup_rec::kText);
        int head = std::snprintf(text, popup_rec::kTextSize, "   %2.2s : %2.2s/%2.2s/'%2.2s  ",
                                 reinterpret_cast<const char*>(e + setup_entry::kCdNo), d + 4, d + 6, d + 2);
        // The present text in whole characters up to the terminator.
        const std::string_view shown = here && present_text != nullptr ? present_text : " ";
        if (head >= 0 && static_cast<size_t>(head) < popup_rec::kTextSize - 1) {
            const size_t room = popup_rec::kTextSize - 1 - static_cast<size_t>(head);
            std::memcpy(text + head, shown.data(), text_cut_length(shown, room));
        }
    }
    *count = n;
    return 0;
}

}  // namespace pxall
