// Fuzz target: the environment file PXDROM.SYS (odd first byte: the drive
// table PXDRIVES.SYS) read as the start-up reads it.
#include <cstdint>

#include "fuzz_place.h"
#include "pxall/env.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static pxfuzz::Place place;
    pxfuzz::Input in = pxfuzz::split(data, size, 1);
    place.reset();
    if (in.use & 1) {
        place.put("PXDRIVES.SYS", in.parts[0]);
        std::string error;
        plat::load_drive_table(place.host("PXDRIVES.SYS"), &error);
        plat::clear_drives();
    } else {
        place.put("PXDROM.SYS", in.parts[0]);
        pxall::kankyo_set();
    }
    return 0;
}
