// Fuzz target: the set-up scan, which rebuilds the set-up table from the
// root master file header of each installed data set (parts: the root
// masters of data sets E1 and E2).
#include <cstdint>

#include "fuzz_place.h"
#include "pxall/setup_scan.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static pxfuzz::Place place;
    static bool made = [] {
        std::filesystem::create_directories(place.host("MST/E2"));
        return true;
    }();
    (void)made;
    pxfuzz::Input in = pxfuzz::split(data, size, 2);
    place.reset();
    place.put("MST/E1/PXROOTMF.MST", in.parts[0]);
    if (in.use & 1)
        place.remove("MST/E2/PXROOTMF.MST");
    else
        place.put("MST/E2/PXROOTMF.MST", in.parts[1]);
    pxall::setuped_cd_check();
    return 0;
}
