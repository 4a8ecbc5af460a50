// Fuzz target: the two user part-group files (parts: the name file, the
// part-code file) read into the group table and looked up by code.
#include <cstdint>

#include "fuzz_place.h"
#include "pxall/groups.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static pxfuzz::Place place;
    pxfuzz::Input in = pxfuzz::split(data, size, 2);
    place.reset();
    place.put("MST/PXGRPMEI.D", in.parts[0]);
    place.put("MST/PXGRPPNC.D", in.parts[1]);
    VBInitGrpTmp();
    int16_t count = 0;
    VBread_group_file(&count);
    pxall::g_mei_f_check();
    char name[64];
    char table[700];
    for (const char* code : {"BRK", "ENG", "A", "\xff\xff\xff"}) {
        int32_t failure = 0;
        pxall::g_mei_f_read(code, name, &failure);
        pxall::g_pnc_f_read(code, table);
    }
    VBTermGrpTmp();
    return 0;
}
