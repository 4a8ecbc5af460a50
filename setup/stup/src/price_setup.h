// The price set-up's parts (keyed price files in price_files.cpp).
#pragma once

#include <cstdint>
#include <string>

#include "platform/export.h"

namespace pxstup {

constexpr int kPriceNoData = 848;
constexpr int kPriceDiskFull = 21;
constexpr int kPriceAppendRefused = 1;

// 0 or 848: the four master entries for the data file, kept for the master.
int stup_user_mst_entry(const char* id, const std::string& data_path);
// 0, 21 (disk full) or -1 (logged).
int stup_user_d_file(const std::string& data_path, int32_t block);
// 1 the level fits one block, 0 it does not, 21 disk full, -1 (logged).
int stup_user_tmp_file(const std::string& in_path, const std::string& out_path, int32_t item_len, int32_t block);
// Joins base.TM1-3 into the index file: 0, 11, 13, 21, 128.
int stup_user_ia(const std::string& base, int32_t block, const std::string& index_path, int32_t* detail);
// Writes the master kept by stup_user_mst_entry: 0, 11, 13.
int stup_user_mst_file(const std::string& master_path, int32_t* detail);
// A CSV price file into fixed records (layout 1: KAKAKU, other: PRICE3):
// 0, or -1 (logged).
PX_EXPORT int stup_conv_csv2_binary(const std::string& csv_path, const std::string& work, int layout);

}  // namespace pxstup
