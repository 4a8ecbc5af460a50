// Look-ups in the set-up table of installed data sets.
#include <cstring>

#include "pxall/blocks.h"
#include "pxall/cdrom.h"

namespace pxall {

namespace {

int entry_count() {
    const unsigned char* top = get_ctop_addr();
    if (top == nullptr) return 0;
    int32_t n = get_i32(top + ctop::kSetupCount);
    return n < 0 ? 0 : n > ctop::kMaxSetup ? ctop::kMaxSetup : n;
}

bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }
bool above_blank(char c) { return static_cast<unsigned char>(c) > ' '; }

// The first entry of an area that passes `ok` on its second character.
template <class Ok>
int first_of_area(char area, Ok ok) {
    if (!above_blank(area)) return -1;
    for (int i = 0; i < entry_count(); ++i) {
        const unsigned char* e = setup_entry_addr(i);
        if (e != nullptr && e[0] == static_cast<unsigned char>(area) && ok(e[1])) return i;
    }
    return -1;
}

bool catalog_area(char area) { return area == 'E' || area == 'J'; }

}  // namespace

int setuped_cdno1_to_cdno2(const char* name, char* cd_no) {
    if (name == nullptr) return -1;
    for (int i = 0; i < entry_count(); ++i) {
        const unsigned char* e = setup_entry_addr(i);
        if (e == nullptr || std::memcmp(e + setup_entry::kName, name, 2) != 0) continue;
        if (cd_no != nullptr) std::memcpy(cd_no, e + setup_entry::kCdNo, 2);
        return i;
    }
    return -1;
}

int setuped_cdno2_to_cdno1(char area, char* name, const char* cd_no) {
    if (!above_blank(area) || cd_no == nullptr) return -1;
    for (int i = 0; i < entry_count(); ++i) {
        const unsigned char* e = setup_entry_addr(i);
        if (e == nullptr || e[0] != static_cast<unsigned char>(area) || std::memcmp(e + setup_entry::kCdNo, cd_no, 2) != 0)
            continue;
        if (name != nullptr) std::memcpy(name, e + setup_entry::kName, 2);
        return i;
    }
    return -1;
}

int setuped_top_cdno(char area) {
    return first_of_area(area, [area](unsigned char c) { return !catalog_area(area) || is_digit(c); });
}

int setuped_top_fcdno(char area) {
    return first_of_area(area, [area](unsigned char c) { return !catalog_area(area) || c == 'F' || c == 'G'; });
}

int make_setuped_top_cdid_table(int32_t* index, int32_t* found) {
    if (index == nullptr) return -1;
    if (found != nullptr) *found = 0;
    const unsigned char* top = get_ctop_addr();
    if (top == nullptr) return 0;
    int32_t area = get_i32(top + ctop::kAreaIndex);
    if (area < 0 || area > 3) return 0;
    char letter = "EGUJ"[area];
    int i = first_of_area(letter, [](unsigned char c) { return is_digit(c); });
    if (i < 0) return 0;
    *index = i;
    if (found != nullptr) *found = 1;
    return 0;
}

}  // namespace pxall
