// Writing a keyed price file, its binary index and its master (layout in
// pxall/price_layout.h), as the price set-up does: data records in the order
// given (they must ascend by their 12-byte key), one index level with an
// entry per data block, a second level when the first needs more than one
// block, and the 128-byte master.
#pragma once

#include <string>
#include <vector>

#include "pxbuild/bytes.h"

namespace pxbuild {

enum class PriceKind {
    kKakaku = 1,  // KAKAKU, 50-byte records, 1800-byte blocks
    kPrice3 = 2,  // PRICE3, 66-byte records, 1980-byte blocks
    kLocal = 3,   // LOCALP, 44-byte records, 1980-byte blocks (LOCALP.MST)
};

struct PriceImage {
    Bytes data;
    Bytes index;
    Bytes master;            // 128 bytes
    std::string data_name;   // "KAKAKU.D"
    std::string index_name;  // "KAKAKU.IA"
    std::string master_name; // "PRICE.MST"
};

int32_t price_rec_len(PriceKind kind);
int32_t price_block_size(PriceKind kind);

// Throws BuildError for records of the wrong length, a record beginning with
// NUL, keys that do not ascend, no records, or more than two levels' worth.
PriceImage build_price(PriceKind kind, const std::vector<std::string>& records);

// Writes the three files into a host folder.
void write_price(const std::string& host_dir, const PriceImage& img);

}  // namespace pxbuild
