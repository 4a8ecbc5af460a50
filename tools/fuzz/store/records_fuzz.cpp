// Fuzz target: part-number records (HINBAN.DAT, 256 bytes each) gathered
// into parts and cut into the lines the inquiries show, in every line shape
// and remark width the libraries use; the input is a run of records (first byte: a part number
// filter when odd).
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "pxall/hinban_lines.h"
#include "pxall/part_records.h"

namespace {

void show(const pxall::HinbanPart& p) {
    std::vector<pxall::HinbanLine> lines;
    // The shapes and remark widths of the part-number search, the part-number
    // list, the applicability search and the parts-list engine.
    const std::pair<pxall::LineShape, int> uses[] = {{pxall::LineShape::kSlotPerLine, 98},
                                                     {pxall::LineShape::kMainOnEveryLine, 99},
                                                     {pxall::LineShape::kSlotPairs, 42},
                                                     {pxall::LineShape::kSlotPerLine, 30}};
    for (const auto& [shape, width] : uses) {
        lines.clear();
        pxall::hinban_lines(p, shape, width, &lines);
    }
    pxall::hinban_usage(p);
    char out[16];
    for (int slot = 0; slot <= 4; ++slot) {
        pxall::hinban_slot_present(p, slot);
        pxall::hinban_slot_display(p, slot, out);
        pxall::hinban_slot_qty(p, slot);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const bool filter = data[0] & 1;
    pxall::HinbanParts parts(filter ? "15601YZ001A1" : nullptr);
    pxall::HinbanPart done;
    unsigned char rec[pxall::hinban_rec::kSize];
    for (size_t at = 1; at < size; at += sizeof rec) {
        size_t n = size - at < sizeof rec ? size - at : sizeof rec;
        std::memset(rec, ' ', sizeof rec);
        std::memcpy(rec, data + at, n);
        if (parts.feed(rec, &done) == 1) show(done);
    }
    if (parts.finish(&done)) show(done);
    return 0;
}
