// Data set directories: their names from the CD codes, and their removal.
#include <cstring>
#include <string>

#include "pxall/blocks.h"
#include "stup_internal.h"

namespace pxstup {

int area_index(char letter) {
    const char* at = std::strchr(kAreaLetters, letter);
    return (letter != 0 && at != nullptr) ? static_cast<int>(at - kAreaLetters) : -1;
}

char dir_char(const char* code, bool frame) {
    if (frame) return code[1] == '1' ? 'F' : 'G';
    if (code[0] == 'A' && (is_digit(code[1]) || code[1] == ' ')) return code[1];
    // B1 to B7 take the digits 3 to 9; B8 and B9 would need two digits.
    if (code[0] == 'B' && code[1] >= '1' && code[1] <= '7') return static_cast<char>(code[1] + 2);
    return 0;
}

void stup_cd_dir_name(const char* code, char area_letter, char* out) {
    out[0] = area_letter;
    char c = dir_char(code, false);
    out[1] = c == 0 ? ' ' : c;
}

void stup_remove_setup_dir(const char* name) {
    if (name == nullptr || blank(name[0])) return;
    const unsigned char* top = pxall::get_ctop_addr();
    if (top == nullptr) return;
    std::string dir;
    if (is_digit(name[1])) {
        int a = area_index(name[0]);
        char drive = a < 0 ? 0 : static_cast<char>(top[pxall::ctop::kAreaDrives + 2 * static_cast<size_t>(a)]);
        dir = on_drive(state_dir(pxall::ctop::kMasterDir), drive);
    } else {
        dir = state_dir(name[0] == 'E' ? pxall::ctop::kFrameWorldDir : pxall::ctop::kFrameJapanDir);
    }
    if (dir.empty()) return;
    // Set aside first, so that it is never listed half removed; a failure is
    // logged.
    drop_set(join(dir, std::string(name, 2)));
}

}  // namespace pxstup
