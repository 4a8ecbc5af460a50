// Fuzz target: the two user part-group files (parts: the name file, the
// part-code file) read into the group table and looked up by code.
#include <algorithm>
#include <cstdint>
#include <string>

#include "fuzz_place.h"
#include "pxall/group_layout.h"
#include "pxall/groups.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static pxfuzz::Place place;
    pxfuzz::Input in = pxfuzz::split(data, size, 2);
    place.reset();
    // The files have a fixed size (663 KB together) of which a real pair
    // uses the front: with an odd first byte the parts are that front and
    // the rest is filled as the library fills it (zero names, blank codes),
    // which keeps inputs small and fast; with an even one they stand as given.
    if (in.use & 1) {
        namespace gf = pxall::grpfile;
        static std::string names, codes;
        names.assign(reinterpret_cast<const char*>(in.parts[0].data), std::min(in.parts[0].size, gf::kNameFileSize));
        names.resize(gf::kNameFileSize, '\0');
        codes.assign(reinterpret_cast<const char*>(in.parts[1].data), std::min(in.parts[1].size, gf::kCodeFileSize));
        codes.resize(gf::kCodeFileSize, ' ');
        place.put("MST/PXGRPMEI.D", {reinterpret_cast<const uint8_t*>(names.data()), names.size()});
        place.put("MST/PXGRPPNC.D", {reinterpret_cast<const uint8_t*>(codes.data()), codes.size()});
    } else {
        place.put("MST/PXGRPMEI.D", in.parts[0]);
        place.put("MST/PXGRPPNC.D", in.parts[1]);
    }
    VBInitGrpTmp();
    int16_t count = 0;
    VBread_group_file(&count);
    pxall::g_mei_f_check();
    char name[64];
    char table[700];
    // A code of the demo's groups and one no file holds; the part names of
    // the first (its lookup reads the name file again).
    int32_t failure = 0;
    pxall::g_mei_f_read("\xff\xff\xff", name, &failure);
    pxall::g_pnc_f_read("BRK", table);
    VBTermGrpTmp();
    return 0;
}
