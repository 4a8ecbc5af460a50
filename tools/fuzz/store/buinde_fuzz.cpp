// Fuzz target: the figure pages of BUINDE.DAT as the illustration library
// reads them (its own page index builder, compiled in). Parts: the figure
// asked for (4 characters) and a catalogue master holding the file; the
// first byte: the vehicle's date and applicability filter the pages (even)
// or every page is taken (odd).
#include <cstdint>
#include <cstring>

#include "bunz_internal.h"
#include "fuzz_place.h"
#include "pxall/blocks.h"
#include "pxall/itemlist.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static pxfuzz::Place place;
    pxfuzz::Input in = pxfuzz::split(data, size, 2);
    place.reset();
    unsigned char* top = pxall::get_ctop_addr();
    pxall::put_i32(top + pxall::ctop::kSetupCount, 1);
    std::memcpy(pxall::setup_entry_addr(0), "E10120240115", 12);
    unsigned char* car = pxall::get_ccar_addr();
    std::memcpy(car + pxall::ccar::kCatalog, "4410A1", 6);
    std::memcpy(car + pxall::ccar::kProdDate, "202303", 6);
    std::memset(car + pxall::ccar::kApplicability, 0xff, pxall::ccar::kApplicabilitySize);
    pxall::put_i32(car + pxall::ccar::kSetupIndex, 0);
    place.put("MST/E1/PX4410A1.MST", in.parts[1]);

    char figure[5] = "0000";
    std::memcpy(figure, in.parts[0].data, in.parts[0].size < 4 ? in.parts[0].size : 4);
    if (figure[0] == 0) figure[0] = '0';
    pxall::ItemList list{};
    int32_t count = 0;
    pxbunz::bun_make_buindex_tmp(&list, figure, static_cast<int16_t>(in.use & 1), &count);
    while (list.last != nullptr) pxall::DeleteItem(&list, list.last);
    return 0;
}
