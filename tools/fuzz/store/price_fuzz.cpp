// Fuzz target: the price files through their binary index walk. Even first
// byte: the price master PRICE.MST, an index and a data file (written under
// both the KAKAKU and the PRICE3 names), read by part number in the three
// price kinds. Odd: a local price set (first byte / 2 picks set 1-3): its index
// and data file, read by key and in sequence.
#include <cstdint>
#include <cstring>

#include "fuzz_place.h"
#include "pxall/localp.h"
#include "pxall/price_file.h"
#include "pxall/price_layout.h"

namespace {

const char* kKeys[] = {"11101AR12301", "15601YZ001A1", "90919", "0", "\xff\xff\xff"};

void read_prices(const pxfuzz::Input& in, const pxfuzz::Place& place) {
    place.put("MST/PRICE.MST", in.parts[0]);
    for (const char* name : {"KAKAKU", "PRICE3"}) {
        place.put(std::string("MST/") + name + ".IA", in.parts[1]);
        place.put(std::string("MST/") + name + ".D", in.parts[2]);
    }
    // KAKAKU first, or PRICE3 alone (the first byte's second bit); each key
    // read afresh in one of the three price kinds.
    pxall::CdHandle* h = nullptr;
    int detail = 0;
    if (pxall::kakaku_open((in.use >> 1) & 1, &h, &detail) == 0) {
        char entry[pxall::price::entry::kSize];
        int kind = 0;
        for (const char* key : kKeys) {
            pxall::kakaku_reopen(h);
            pxall::kakaku_read(entry, key, static_cast<int>(std::strlen(key)), kind++ % 3, h, &detail);
        }
    }
    pxall::kakaku_close(&h);
}

void read_local(const pxfuzz::Input& in, const pxfuzz::Place& place) {
    int set = 1 + (in.use >> 1) % 3;
    std::string base = "MST/LOCALP" + std::to_string(set);
    place.put(base + ".IA", in.parts[1]);
    place.put(base + ".D", in.parts[2]);
    pxall::LcpHandle h;
    if (pxall::LCPOpen(&h, set) == 0) {
        unsigned char rec[256];
        for (const char* key : kKeys) {
            if (pxall::LCPKeyRead(&h, key, static_cast<int16_t>(std::strlen(key)), rec) != 0) continue;
            for (int i = 0; i < 1000 && h.end_flag == 0 && pxall::LCPSeqRead(&h, rec) == 0; ++i) {
            }
            pxall::LCP3PrtNoRead(&h, "15601YZ001A1", rec);
        }
        pxall::LCPKeyRead(&h, "", 0, rec);
    }
    pxall::LCPClose(&h);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static pxfuzz::Place place;
    pxfuzz::Input in = pxfuzz::split(data, size, 3);
    place.reset();
    if (in.use & 1)
        read_local(in, place);
    else
        read_prices(in, place);
    return 0;
}
