// The parts-list records (96 bytes, written by the parts-list engine) and
// how they fall into pages: a group of lines starts at a record whose part-
// name code (field 2) reads as a number and is never split; a page holds at
// most 1999 lines, except a group larger than that, which stands alone on
// its page, shown whole. One routine serves the page display and the count,
// so paging always moves on and the page starts never run out of room.
//
// Record (offsets from 0): 0/2 f1 line number (a number: a counted line),
// 2/6 f2 part-name code, 8/2 f3 quantity, 10/14 f4 part number, 24/2 f5,
// 26/9 f6, 35/30 f7, 65/30 f8, 95/1 f9 mark ("S" marked).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace px::partslist {

constexpr size_t kRecordSize = 96;
constexpr int kPageLines = 1999;
constexpr size_t kFieldOffset[10] = {0, 0, 2, 8, 10, 24, 26, 35, 65, 95};
constexpr size_t kFieldWidth[10] = {0, 2, 6, 2, 14, 2, 9, 30, 30, 1};
constexpr size_t kMark = 95;
constexpr size_t kQty = 8;

}  // namespace px::partslist

namespace px {

// Records from index 1; index 0 is never used.
using PartsList = std::vector<std::string>;

namespace partslist {

// "Reads as a number": blank-trimmed digits only.
bool reads_as_number(const std::string& field);
std::string field(const std::string& rec, int n);
// The first record after the group that starts at `first`.
int32_t group_end(const PartsList& recs, int32_t first);
// The first record after the page that starts at `first`.
int32_t page_end(const PartsList& recs, int32_t first);
// Pages of the whole list; 0 for an empty one.
int32_t count_pages(const PartsList& recs);

}  // namespace partslist
}  // namespace px
