// Fuzz target: the dealer's source files the set-up imports. Even first
// byte: a price source (fixed records or a CSV piece, KAKAKU or PRICE3, the
// bits above pick), imported and then read back by part number. Odd: a
// local-parts source of one of the four types, imported as a new set and
// read back by key and in sequence.
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_place.h"
#include "pxall/localp.h"
#include "pxall/price_file.h"
#include "pxall/price_layout.h"
#include "pxall/vbstring.h"
#include "stup/stup.h"

namespace {

const char* kKeys[] = {"11101AR12301", "15601YZ001A1", "0", "\xff\xff"};

void import_prices(const pxfuzz::Input& in, const pxfuzz::Place& place) {
    const int kind = (in.use & 2) ? 2 : 1;
    const bool csv = (in.use & 4) != 0;
    const char* name = csv ? (kind == 1 ? "PRICE001.CSV" : "PRIC3001.CSV") : (kind == 1 ? "PRICE" : "PRICE3");
    place.put(std::string("PROG/") + name, in.parts[0]);
    std::string path = std::string("C:\\PROG\\") + name;
    VbString source{path.data(), static_cast<int32_t>(path.size())};
    if (stup_kakaku_setup(&source, static_cast<int16_t>(kind), 0) != 0) return;
    pxall::CdHandle* h = nullptr;
    int detail = 0;
    if (pxall::kakaku_open(kind == 2 ? 1 : 0, &h, &detail) == 0) {
        char entry[pxall::price::entry::kSize];
        for (const char* key : kKeys) {
            pxall::kakaku_reopen(h);
            pxall::kakaku_read(entry, key, static_cast<int>(std::strlen(key)), 0, h, &detail);
        }
    }
    pxall::kakaku_close(&h);
}

void import_local_parts(const pxfuzz::Input& in, const pxfuzz::Place& place) {
    const int16_t type = static_cast<int16_t>((in.use >> 1) % 4);
    const char* names[] = {"LOCALP", "LOCALP1", "LOCALP2", "LOCALP3"};
    place.put(std::string("PROG/") + names[type], in.parts[0]);
    if (Check_Setuped_Localp(type) == 1) Init_Setuped_Localp(1, type);
    if (Setup_Localp(type, (std::string("C:\\PROG\\") + names[type]).c_str()) != 0) return;
    pxall::LcpHandle h;
    const int set = type <= 1 ? 1 : type;
    if (pxall::LCPOpen(&h, set) == 0) {
        unsigned char rec[256];
        for (const char* key : kKeys) {
            if (pxall::LCPKeyRead(&h, key, static_cast<int16_t>(std::strlen(key)), rec) != 0) continue;
            for (int i = 0; i < 1000 && h.end_flag == 0 && pxall::LCPSeqRead(&h, rec) == 0; ++i) {
            }
        }
    }
    pxall::LCPClose(&h);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static pxfuzz::Place place;
    pxfuzz::Input in = pxfuzz::split(data, size, 1);
    place.reset();
    if (in.use & 1)
        import_local_parts(in, place);
    else
        import_prices(in, place);
    return 0;
}
