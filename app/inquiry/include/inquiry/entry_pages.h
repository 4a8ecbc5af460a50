// The cutting of a long result list into blocks (pages) of about 2000
// records for the grid, never splitting an entry: an entry is a record whose
// first field (the entry number) is numeric, with the records after it that
// are not. The part-number list (F7, F8) and the part-number search pages
// are cut this way.
//
// Every block ends where the next one starts: a block from `start` ends at
// the last entry start after `start` at or before start + 2000 (a record
// beyond the list counts as no entry start), or at the count when no record
// lies beyond start + 2000 (for the first block: when the list is shorter
// than 2000, so that a list of exactly 2000 takes two blocks). The block list is walked to the end, so that every record
// lies in some block and the block count is true; an entry longer than a
// block is cut at start + 2000.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <QString>

namespace px::inquiry {

constexpr int32_t kBlockRecords = 2000;

// The end (exclusive) of the block that starts at `start`.
int32_t entry_block_end(const std::function<bool(int32_t)>& is_head, int32_t count, int32_t start,
                        int32_t size = kBlockRecords);
// The start of every block, in order (empty for an empty list).
std::vector<int32_t> entry_block_starts(const std::function<bool(int32_t)>& is_head, int32_t count,
                                        int32_t size = kBlockRecords);
// Whether records[i] starts an entry (its first two bytes are numeric).
bool starts_entry(const std::vector<std::string>& records, int32_t i);
// The block label: as many blanks as the digits of the zero-based block
// index, its number, "/", the same blanks, the block count (" 1/ 1").
QString block_label(int32_t block, int32_t last_block);

}  // namespace px::inquiry
