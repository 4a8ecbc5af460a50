// The text files of a menu language: both must exist before the language
// is chosen, and both tables are reloaded once it is stored.
#include <cstdio>

#include "platform/files.h"
#include "pxall/blocks.h"
#include "pxall/paths.h"
#include "pxall/texts.h"
#include "siup/siup.h"

int32_t Check_ScrMsgFile(int32_t language) {
    int16_t n = static_cast<int16_t>(language & 0xffff);
    char screen[pxall::kPathSize] = {};
    std::snprintf(screen, sizeof screen, "PXDROM%02d.SCR", n);
    if (!plat::file_exists(screen)) return -1;
    char message[pxall::kPathSize] = {};
    std::snprintf(message, sizeof message, "PXDROM%02d.MSG", n);
    if (pxall::get_path_name(pxall::kPathProgram, -1, message) != 0) return -1;
    return plat::file_exists(message) ? 0 : -1;
}

int32_t Reload_ScrMsgFile() {
    const unsigned char* top = pxall::get_ctop_addr();
    if (top == nullptr || pxall::get_i16(top + pxall::ctop::kMenuLangNo) <= 0) return 0;
    pxall::free_scr();
    pxall::set_scr();  // a screen file that fails does not keep the messages from loading
    pxall::free_msg();
    return pxall::set_msg();
}
