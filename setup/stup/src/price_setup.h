// The price set-up's parts (keyed price files in price_files.cpp, the
// sources in price_sources.cpp).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/export.h"

namespace pxstup {

constexpr int kPriceNoData = 848;
constexpr int kPriceDiskFull = 21;
constexpr int kPriceAppendRefused = 1;

// The most bytes of records a data file of this block size can index with
// two levels.
size_t stup_data_limit(int32_t block);
// 0 or 848: the four master entries for a data file of `size` bytes of
// records, kept for the master.
int stup_user_mst_entry(const char* id, int64_t size);
// The index over data padded to whole blocks, top level first: 0, or -1
// when there is no block.
int stup_user_index(const uint8_t* data, size_t size, int32_t rec_len, int32_t block, std::vector<uint8_t>* index);
// Writes the master kept by stup_user_mst_entry: 0, 11, 13.
int stup_user_mst_file(const std::string& master_path, int32_t* detail);
// A CSV price file into fixed records (layout 1: KAKAKU, other: PRICE3):
// 0, or -1 (logged).
PX_EXPORT int stup_conv_csv2_binary(const std::string& csv_path, const std::string& work, int layout);

// --- The source read into memory (price_sources.cpp) --------------------------
// The record length of a CSV layout.
int csv_rec_len(int layout);
class PieceWriter;
// The records of a CSV price file appended to *data while they fit in
// `limit` bytes (*over set when there are more), and written through `out`
// (when not null) as they come: 0, kPriceNoData, or -1 (logged, or
// out->error()).
int csv_source_records(const std::string& csv_path, int layout, size_t limit, std::vector<char>* data, bool* over,
                       PieceWriter* out);
// The bytes of a file appended to *data, at most `limit` of them; *over set
// when more follow that are not line ends. 0 or -1 (logged).
int read_source(const std::string& path, size_t limit, std::vector<char>* data, bool* over);
// An appended piece (*data) put after the records stored in `current`: 0;
// kPriceAppendRefused when none are stored or the piece does not come after
// them; -1 (logged).
int put_stored_first(const std::string& current, const std::string& src, int32_t rec_len, size_t limit,
                     std::vector<char>* data, bool* over);

}  // namespace pxstup
