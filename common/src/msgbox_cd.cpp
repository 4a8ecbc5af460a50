// The CD request box: which CD to insert, into which drive.

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/msgbox.h"
#include "pxall/blocks.h"
#include "pxall/errlog.h"
#include "pxall/text_cut.h"
#include "pxall/texts.h"

namespace pxall {

namespace {

constexpr const char* kModule = "PXSUBM01";
constexpr const char* kFunction = "disp_msgbox";
constexpr const char* kCaption = "Please Insert CD";

constexpr int kScrAnyDrive = 111;
// The places of the drive's name and of the CD's kind inside the brackets.
constexpr size_t kDrivePlaces = 9;
constexpr size_t kWordPlaces = 6;

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// A text in its places: cut at a character boundary (never half a Japanese
// character before what follows) and padded with blanks.
std::string in_places(std::string_view text, size_t places) {
    std::string out(places, ' ');
    put_text_field(out.data(), places, text, ' ');
    return out;
}

// The two characters of drive-list entry n; entries past the count are empty.
std::string drive_text(int n) {
    const unsigned char* top = get_ctop_addr();
    if (top == nullptr || n < 0 || n >= ctop::kMaxDrives || n >= top[ctop::kDriveCount]) return {};
    const char* at = reinterpret_cast<const char*>(top + ctop::kDrives + 2 * n);
    return std::string(at, strnlen(at, 2));
}

// The word naming the CD's kind, by the id's area letter.
std::string cd_word(const char* cd_id) {
    if (cd_id == nullptr || cd_id[0] == 0) return {};
    bool digit = is_digit(cd_id[1]);
    int no = 0;
    switch (cd_id[0]) {
        case 'E': no = digit ? 112 : 126; break;
        case 'G': no = 113; break;
        case 'J': no = digit ? 115 : 127; break;
        case 'U': no = 114; break;
        default: return {};
    }
    const char* text = get_scr_text(no);
    return text ? std::string(text) : std::string();
}

// The CD number given, else the set-up table's for the id, else a guess
// from the id ("A0", "A1") or a blank.
std::string cd_number(const char* cd_id, const char* cd_no) {
    if (cd_no != nullptr) return std::string(cd_no, strnlen(cd_no, 2));
    if (cd_id == nullptr || cd_id[0] == 0) return " ";
    if (const unsigned char* top = get_ctop_addr()) {
        int count = get_i32(top + ctop::kSetupCount);
        for (int i = 0; i < count && i < ctop::kMaxSetup; ++i) {
            const unsigned char* e = setup_entry_addr(i);
            if (e != nullptr && e[setup_entry::kName] == static_cast<unsigned char>(cd_id[0]) &&
                e[setup_entry::kName + 1] == static_cast<unsigned char>(cd_id[1])) {
                const char* no = reinterpret_cast<const char*>(e + setup_entry::kCdNo);
                return std::string(no, strnlen(no, 2));
            }
        }
    }
    if (cd_id[1] == '0' || cd_id[1] == '1') return std::string("A") + cd_id[1];
    return " ";
}

}  // namespace

int disp_msgbox(int msg_no, int drive, const char* cd_id, const char* cd_no, int* answer) {
    char piece[32];
    std::string text;

    const char* line1 = get_1stmsg_text(msg_no);
    if (line1 == nullptr) {
        syerr_message(kModule, kFunction, "get_1stmsg_text", -1, 0, 192);
        return -1;
    }
    text += line1;

    std::string where;
    if (drive == -1) {
        const char* any = get_scr_text(kScrAnyDrive);
        if (any == nullptr) {
            syerr_message(kModule, kFunction, "get_scr_text", -2, 0, 202);
            return -2;
        }
        where = any;
    } else {
        where = drive_text(drive);
    }
    text += in_places(where, kDrivePlaces) + "]\n";

    // get_scr_text above keeps the message memory, so line 2 still follows.
    const char* line2 = get_2ndmsg_text();
    if (line2 == nullptr) {
        syerr_message(kModule, kFunction, "get_2ndmsg_text", -3, 0, 217);
        return -3;
    }
    text += line2;

    std::snprintf(piece, sizeof piece, " %-2.2s]", cd_number(cd_id, cd_no).c_str());
    text += in_places(cd_word(cd_id), kWordPlaces) + piece;

    int32_t result = plat::message_box(text, kCaption, plat::kMbRetryCancel | plat::kMbIconQuestion);
    int chosen = 0;
    if (result == plat::kIdCancel)
        chosen = 1;
    else if (result == plat::kIdRetry)
        chosen = 2;
    else {
        syerr_message(kModule, kFunction, "MessageBox", -4, result, 298);
        return -4;
    }
    if (answer != nullptr) *answer = chosen;
    return 0;
}

}  // namespace pxall
