// Fuzz target: the vehicle-information files the clerk loads on the vehicle
// screen, as text (NAME=value lines) or CSV (the first byte picks), and the
// file written back from what was taken.
#include <cstdint>

#include "fuzz_place.h"
#include "pxvjin/pxvjin.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static pxfuzz::Place place;
    pxfuzz::Input in = pxfuzz::split(data, size, 1);
    place.reset();
    const bool csv = (in.use & 1) != 0;
    const std::string name = csv ? "WORK/VEHICLE.CSV" : "WORK/VEHICLE.TXT";
    place.put(name, in.parts[0]);
    const std::string path = csv ? "C:\\WORK\\VEHICLE.CSV" : "C:\\WORK\\VEHICLE.TXT";
    if (vjin_get_vinf(path.c_str()) != -1 && (in.use & 2)) vjin_set_vinf("C:\\WORK\\BACK.TXT");
    return 0;
}
