// Fuzz target: a damaged catalogue file opened and read through the real
// reader. The input's first byte picks the layout:
//   even: a data set's root master, a joined index file and a data file,
//         the rest of the input as three parts (three u32 lengths first);
//   odd:  a catalogue master holding its files, the rest of the input whole,
//         opened as one of its files (the first byte / 2 picks which).
// Every read must end with a status code, without touching memory outside
// its buffers and without a walk that does not end.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "platform/drives.h"
#include "scratch_dir.h"
#include "pxall/blocks.h"
#include "pxall/keyed_file.h"

namespace fs = std::filesystem;

namespace {

struct Place {
    pxfuzz::ScratchDir scratch{"pxfuzz"};
    fs::path root = scratch.path();
    Place() {
        fs::create_directories(root / "MST" / "E1");
        plat::set_drive('C', root.string(), plat::kDriveFixed);
        pxall::set_table();
        unsigned char* top = pxall::get_ctop_addr();
        std::strcpy(reinterpret_cast<char*>(top + pxall::ctop::kMasterDir), "C:\\MST");
        pxall::put_i32(top + pxall::ctop::kSetupCount, 1);
        std::memcpy(pxall::setup_entry_addr(0), "E10120240115", 12);
    }
    void write(const char* name, const uint8_t* data, size_t size) const {
        FILE* f = std::fopen((root / "MST" / "E1" / name).c_str(), "wb");
        if (f == nullptr) return;
        if (size > 0) std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
};

uint32_t take_u32(const uint8_t*& p, size_t& n) {
    uint32_t v = 0;
    for (int i = 0; i < 4 && n > 0; ++i, --n) v |= uint32_t(*p++) << (8 * i);
    return v;
}

void read_everything(pxall::CdHandle* h, const char* keys[], int nkeys) {
    char rec[4096];
    for (int k = 0; k < nkeys; ++k) {
        pxall::cdreopen(h, nullptr);
        int len = static_cast<int>(strnlen(keys[k], 20));
        for (int i = 0; i < 64 && pxall::cdread(rec, keys[k], len, 0, nullptr, nullptr, h, nullptr) == 0; ++i) {
        }
        pxall::cdseek_key(keys[k], len, h, nullptr);
    }
    pxall::cdreopen(h, nullptr);
    for (int i = 0; i < 4096 && pxall::cdread(rec, nullptr, 0, 0, nullptr, nullptr, h, nullptr) == 0; ++i) {
    }
    if (pxall::cdseek(pxall::kDataSlot, 1, h, nullptr) == 0) pxall::cdread(rec, nullptr, 0, 0, nullptr, nullptr, h, nullptr);
    char block[2048];
    for (int s = 0; s <= pxall::kDataSlot; ++s)
        if (pxall::cdseek_only(s, 0, h, nullptr) == 0) pxall::cdread_read_block(s, block, 1, h, nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Place place;
    if (size < 1) return 0;
    uint8_t mode = data[0];
    const uint8_t* p = data + 1;
    size_t n = size - 1;
    pxall::CdHandle* h = nullptr;
    if ((mode & 1) == 0) {
        size_t len[3];
        for (auto& l : len) l = take_u32(p, n);
        const char* names[3] = {"PXROOTMF.MST", "HINM01.IA", "HINM01.DAT"};
        for (int i = 0; i < 3; ++i) {
            size_t m = len[i] < n ? len[i] : n;
            place.write(names[i], p, m);
            p += m;
            n -= m;
        }
        if (pxall::cdopen("HINM01.DAT", "", 7, 0, -1, 0, 0, &h, nullptr) == 0) {
            const char* keys[] = {"P00001", "P00040", "P0002", "P", "\xff\xff"};
            read_everything(h, keys, 5);
        }
    } else {
        place.write("PX4410A1.MST", p, n);
        const char* files[] = {"EMINDE.DAT", "HCODEH.DAT", "HINBAN.DAT", "TOKUME.DAT"};
        if (pxall::cdopen(files[(mode >> 1) % 4], "4410A1", 1, mode >> 7, -1, 0, 0, &h, nullptr) == 0) {
            const char* keys[] = {"0020", "100010", "16400A", "1", "\xff"};
            read_everything(h, keys, 5);
        }
    }
    pxall::cdclose(&h, nullptr);
    return 0;
}
