// Local price files (layout in pxall/localp_layout.h) as the local-parts
// set-up writes them: data records sorted as the set-up sorts them, one index
// entry per distinct key. And the demo's locally supplied parts: a dealer's
// own part numbers against the maker's (set 1), local alternatives by
// catalogue and part-name code (set 2), and accessory figures of every demo
// catalogue with their pictures (set 3).
#pragma once

#include <string>
#include <vector>

#include "pxbuild/bytes.h"

namespace pxbuild {

struct LocalPriceImage {
    Bytes data;
    Bytes index;
    std::string data_name;   // "LOCALP1.D"
    std::string index_name;  // "LOCALP1.IA"
};

// A set (1-3) from its records, each of the set's record length. Sets 1 and
// 2 sort on bytes 0-23, set 3 on bytes 0-9 then 52-63 (records of equal sort
// keys keep their order). Throws BuildError for another set, a record of the
// wrong length, a key of more than 65535 records or a first record number
// beyond 65535.
LocalPriceImage build_local_price(int set, std::vector<std::string> records);
// Writes the data and index files into a host folder.
void write_local_price(const std::string& host_dir, const LocalPriceImage& img);

namespace demo {
// The demo's records of a set, in no particular order.
std::vector<std::string> local_price_records(int set);
// The picture files that set 3 names: 8.3 name and the BMP bytes.
std::vector<std::pair<std::string, Bytes>> local_pictures();
}  // namespace demo

// Writes LOCALP1-3 and the pictures of set 3 into the local-price folder (the
// demo's C:\MST); the number of records written.
int write_demo_local_prices(const std::string& host_dir);

}  // namespace pxbuild
