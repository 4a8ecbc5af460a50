// The illustration index's state and the pieces its entries share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "emok/emok_layout.h"
#include "pxall/entry_support.h"
#include "pxall/image_layout.h"
#include "pxall/index_layout.h"
#include "pxall/paths.h"
#include "pxall/vbstring.h"

namespace pxemok {

constexpr const char* kModEntries = "PXEMOK01";
constexpr const char* kModPages = "PXEMOK02";
constexpr const char* kModLinks = "PXEMOK03";
constexpr const char* kModNames = "PXEMOK04";

// A picture's hot spots: entries of image::kTextEntrySize bytes, the last
// followed by an end entry (attribute 0).
class HotSpots {
public:
    // Room for `entries` and the end entry, all zero; false out of memory.
    bool reset(int32_t entries);
    void clear() {
        bytes_.clear();
        count_ = 0;
    }
    uint8_t* data() { return bytes_.data(); }
    int32_t capacity() const { return count_; }
    // The entries up to the end mark.
    int32_t size() const;
    uint8_t* at(int32_t i) { return bytes_.data() + static_cast<size_t>(i) * pxall::image::kTextEntrySize; }
    const uint8_t* at(int32_t i) const {
        return bytes_.data() + static_cast<size_t>(i) * pxall::image::kTextEntrySize;
    }
    // Scales every rectangle to 90/100.
    void scale();

private:
    std::vector<uint8_t> bytes_;
    int32_t count_ = 0;
};

// Fields of an entry.
int16_t left(const uint8_t* e);
int16_t top(const uint8_t* e);
int16_t right(const uint8_t* e);
int16_t bottom(const uint8_t* e);
inline char attribute(const uint8_t* e) { return static_cast<char>(e[pxall::image::kTeAttribute]); }
inline const char* text(const uint8_t* e) { return reinterpret_cast<const char*>(e + pxall::image::kTeText); }

struct Link {
    char area[2];
    char figure[4];
};

struct Page {
    uint8_t detail[pxall::eminde::kSize];
    uint8_t overall[pxall::eminde::kSize];
    bool has_overall;
};

enum WorkFile { kDatS, kDatZ, kImgS, kImgZ, kFnls, kWorkFiles };

struct State {
    bool open = false;
    int16_t page_count = 0;
    Page pages[kMaxPages];
    HotSpots detail, overall;
    std::vector<Link> links;
    uint8_t detail_desc[36] = {};
    uint8_t overall_desc[36] = {};
    char paths[kWorkFiles][pxall::kPathSize] = {};
};

// The library's one state, from VBEmokInit to VBEmokTerm.
State& state();

// Shared entry pieces (pxall/entry_support.h).
using pxall::fail_logged;
using pxall::give_string;
using pxall::name_setup;
using pxall::vehicle_catalog;
using pxall::vehicle_setup;

// Builds the links of the detail picture's hot spots: 0, or -1 logged.
int32_t make_links(State& s);
// Writes the page's figure list: 0, 4 when the CD is missing (not logged),
// or the logged code.
int32_t make_figure_list(State& s, int page);

}  // namespace pxemok
