#include <cstring>

#include "emok_internal.h"
#include "pxall/blocks.h"

namespace pxemok {

namespace img = pxall::image;

State& state() {
    static State s;
    return s;
}

bool HotSpots::reset(int32_t entries) {
    bytes_.clear();
    count_ = 0;
    try {
        bytes_.assign(static_cast<size_t>(entries + 1) * img::kTextEntrySize, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    count_ = entries;
    return true;
}

int32_t HotSpots::size() const {
    int32_t n = 0;
    while (n < count_ && attribute(at(n)) != 0) ++n;
    return n;
}

namespace {
int16_t field(const uint8_t* e, size_t at) { return pxall::get_i16(e + at); }
}  // namespace

int16_t left(const uint8_t* e) { return field(e, img::kTeLeft); }
int16_t top(const uint8_t* e) { return field(e, img::kTeTop); }
int16_t right(const uint8_t* e) { return field(e, img::kTeRight); }
int16_t bottom(const uint8_t* e) { return field(e, img::kTeBottom); }

void HotSpots::scale() {
    for (int32_t i = 0; i < count_; ++i)
        for (size_t f : {img::kTeLeft, img::kTeTop, img::kTeRight, img::kTeBottom}) {
            uint8_t* p = at(i) + f;
            pxall::put_i16(p, static_cast<int16_t>(pxall::get_i16(p) * spot::kScaleNum / spot::kScaleDen));
        }
}

}  // namespace pxemok
