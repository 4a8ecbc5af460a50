// Fuzz target: a help file (even first byte) or a list-box text file (odd)
// read into a list box.
#include <cstdint>

#include "fuzz_place.h"
#include "platform/controls.h"
#include "pxall/helpfile.h"
#include "pxall/listbox.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static pxfuzz::Place place;
    static plat::MemoryListBox box;
    static int32_t hwnd = plat::register_control(&box);
    pxfuzz::Input in = pxfuzz::split(data, size, 1);
    place.reset();
    if (in.use & 1) {
        place.put("WORK/LIST.TXT", in.parts[0]);
        VBSetListBox(hwnd, "C:\\WORK\\LIST.TXT");
    } else {
        place.put("PROG/PXFUZZ01.HLP", in.parts[0]);
        VBReadHelpFile(hwnd, "PXFUZZ");
    }
    box.lb_reset();
    box.forget_calls();
    return 0;
}
