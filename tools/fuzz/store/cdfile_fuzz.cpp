// Fuzz target: a catalogue file opened straight from a CD (no master file):
// the parts are the CD's volume label, a data file and its three index
// files; the file is opened by the CD it names (first byte even: lengths
// looked up on the CD; odd: the caller's length of one block) and read by
// key, in sequence and block by block.
#include <cstdint>
#include <cstring>
#include <filesystem>

#include "fuzz_place.h"
#include "pxall/blocks.h"
#include "pxall/keyed_file.h"

namespace {

void read_all(pxall::CdHandle* h) {
    char rec[4096];
    const char* keys[] = {"6120D1000000000040", "6120D1", "0", "\xff\xff"};
    for (const char* key : keys) {
        pxall::cdreopen(h, nullptr);
        int len = static_cast<int>(std::strlen(key));
        for (int i = 0; i < 16 && pxall::cdread(rec, key, len, 0, nullptr, nullptr, h, nullptr) == 0; ++i) {
        }
    }
    pxall::cdreopen(h, nullptr);
    for (int i = 0; i < 512 && pxall::cdread(rec, nullptr, 0, 0, nullptr, nullptr, h, nullptr) == 0; ++i) {
    }
    std::vector<char> blocks(4 * 2048);
    int32_t n = 0;
    pxall::cdreopen(h, nullptr);
    for (int i = 0; i < 64 && pxall::cdread(blocks.data(), nullptr, 0, 4, &n, nullptr, h, nullptr) == 0; ++i) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static pxfuzz::Place place;
    static bool made = [] {
        std::filesystem::create_directories(place.host("CD"));
        return true;
    }();
    (void)made;
    pxfuzz::Input in = pxfuzz::split(data, size, 5);
    place.reset();
    plat::set_drive('E', place.host("CD"), plat::kDriveCdrom);
    unsigned char* top = pxall::get_ctop_addr();
    top[pxall::ctop::kDriveCount] = 1;
    top[pxall::ctop::kDrives] = 'E';
    top[pxall::ctop::kDrives + 1] = ':';
    place.put("CD/.volume-label", in.parts[0]);
    const char* names[4] = {"CD/FIGIND.DAT", "CD/FIGIND.IA1", "CD/FIGIND.IA2", "CD/FIGIND.IA3"};
    for (int i = 0; i < 4; ++i) place.put(names[i], in.parts[i + 1]);
    pxall::CdHandle* h = nullptr;
    int detail = 0;
    const bool given = in.use & 1;
    if (pxall::cdopen_direct("FIGIND.DAT", "", 1, -1, 705, "E2", nullptr, nullptr, given ? 1 : 0, 0, given ? 1 : 0, &h,
                             &detail) == 0)
        read_all(h);
    pxall::cdclose(&h, nullptr);
    return 0;
}
