// The route checks of the search-route screen: a figure number, a part-name
// code or a part number looked up in the vehicle's catalogue, and the figure
// groups of the illustration index.
#include <cstring>
#include <vector>

#include "krot/krot.h"
#include "krot_internal.h"
#include "pxall/blocks.h"
#include "pxall/buinde_layout.h"
#include "pxall/index_layout.h"
#include "pxall/part_records.h"
#include "pxall/selection.h"

using namespace pxkrot;

namespace {

constexpr int kFlags = 4;

// Reads the record of a key. True when the entry ends here: not found
// (*status 1) or CD missing (*status 4) with *result 0, or a failure logged
// with its code in *result. False with the record read.
bool read_one(const char* fn, const char* file, bool catalog, const char* key, int key_len, uint8_t* rec, int place,
              int16_t* status, int32_t* result) {
    *result = 0;
    pxall::CdHandle* h = nullptr;
    int detail = 0;
    const char* step = "cdopen";
    int r = open_catalog_file(file, catalog, vehicle_setup(), 0, &h, &detail);
    if (r == 0) {
        step = "cdread";
        r = pxall::cdread(rec, key, key_len, 0, nullptr, nullptr, h, &detail);
        int d = 0;
        pxall::cdclose(&h, &d);
        if (r == 0) return false;
        if (r == -1) {
            *status = kNotFound;
            return true;
        }
    }
    if (r == 4) {
        *status = kCdMissing;
        return true;
    }
    *result = fail_logged(kModRoute, fn, step, r, detail, place);
    return true;
}

// SELECT.TMP with the one part-name code, quantity "01": 0 or the logged 13.
int32_t write_one_code(const char* fn, const char* pnc6, int place) {
    namespace sf = pxall::selfile;
    std::vector<unsigned char> image(sf::kImageSize, 0);
    std::memset(&image[sf::sel::kCode], ' ', sf::sel::kCodeSize);
    std::memcpy(&image[sf::sel::kCode], pnc6, pxall::kPncSize);
    std::memcpy(&image[sf::sel::kQty], "01", sf::sel::kQtySize);
    image[sf::sel::kKind] = 0;
    int32_t err = 0;
    if (int r = pxall::write_select_tmp(image.data(), &err); r != 0)
        return fail_logged(kModRoute, fn, "write_select_tmp", 13, r == 11 || r == 13 ? err : r, place);
    return 0;
}

}  // namespace

extern "C" int32_t VBKrotClearFigGrp() {
    if (unsigned char* blk = pxall::get_cnexta_addr()) std::memset(blk + pxall::cnexta::kFigureFlags, 0, kFlags);
    return 0;
}

extern "C" int32_t VBKrotSetFigGrp(int16_t n) {
    unsigned char* blk = pxall::get_cnexta_addr();
    if (n < 0 || n >= kFlags || blk == nullptr) return 128;
    blk[pxall::cnexta::kFigureFlags + n] = static_cast<unsigned char>('1' + n);
    return 0;
}

extern "C" int32_t VBKrotCheckPnc(const char* pnc, VbString* figure, int16_t* status) {
    namespace hc = pxall::hcodeh;
    constexpr const char* kFn = "VBKrotCheckPnc";
    int16_t dummy = 0;
    if (status == nullptr) status = &dummy;
    *status = 0;
    char key[hc::kPncSize];
    take_field(key, pnc, sizeof key);
    uint8_t rec[hc::kSize];
    int32_t result = 0;
    if (read_one(kFn, hc::kFileName, true, key, sizeof key, rec, 61, status, &result)) return result;
    const char* fig = reinterpret_cast<const char*>(rec + hc::kFigure);
    give_string(figure, fig, hc::kFigureSize);
    set_one_figure(fig);
    return write_one_code(kFn, reinterpret_cast<const char*>(rec + hc::kPnc), 63);
}

extern "C" int32_t VBKrotCheckPn(const char* part_no, VbString* figure, int16_t* status) {
    namespace fi = pxall::figind_rec;
    constexpr const char* kFn = "VBKrotCheckPn";
    int16_t dummy = 0;
    if (status == nullptr) status = &dummy;
    *status = 0;
    char key[fi::kKeySize];
    vehicle_catalog(key);
    take_field(key + pxall::kCatalogSize, part_no, fi::kKeySize - pxall::kCatalogSize);
    uint8_t rec[fi::kSize];
    int32_t result = 0;
    if (read_one(kFn, "FIGIND.DAT", false, key, sizeof key, rec, 71, status, &result)) return result;
    const char* fig = reinterpret_cast<const char*>(rec + fi::kFigure);
    give_string(figure, fig, 4);
    set_one_figure(fig);
    // The part's own part-name code from the index record: the parts list
    // selects by part-name code, and a part number's first six characters
    // are not one.
    return write_one_code(kFn, reinterpret_cast<const char*>(rec + fi::kPnc), 73);
}

extern "C" int32_t VBKrotCheckFigNo(const char* figure, int16_t* status) {
    namespace bu = pxall::buinde;
    constexpr const char* kFn = "VBKrotCheckFigNo";
    int16_t dummy = 0;
    if (status == nullptr) status = &dummy;
    *status = 0;
    char key[bu::kFigureSize];
    take_field(key, figure, sizeof key);
    std::vector<uint8_t> rec(bu::kSize);
    int32_t result = 0;
    if (read_one(kFn, bu::kFileName, true, key, sizeof key, rec.data(), 81, status, &result)) return result;
    set_one_figure(key);
    return 0;
}
