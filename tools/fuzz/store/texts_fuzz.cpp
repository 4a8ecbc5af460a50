// Fuzz target: the message file (even first byte) or the screen text file
// (odd) loaded into its table, and every text looked up.
#include <cstdint>

#include "fuzz_place.h"
#include "pxall/texts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static pxfuzz::Place place;
    pxfuzz::Input in = pxfuzz::split(data, size, 1);
    place.reset();
    if (in.use & 1) {
        place.put("PXDROM01.SCR", in.parts[0]);
        if (pxall::set_scr() == 0)
            for (int no : {0, 1, 1000, 1001, 9999}) pxall::get_scr_text(no);
        pxall::free_scr();
    } else {
        place.put("PROG/PXDROM01.MSG", in.parts[0]);
        if (pxall::set_msg() == 0)
            for (int no : {0, 1, 115, 891, 999}) {
                pxall::get_1stmsg_text(no);
                pxall::get_2ndmsg_text();
            }
        pxall::free_msg();
    }
    return 0;
}
