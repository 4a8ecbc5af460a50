// The demo's dealer prices in both price-file kinds (pxall/price_layout.h):
// a KAKAKU file with one price and a PRICE3 file with three (retail, trade,
// list), for most part numbers of the demo catalogues. About one part in
// eight has no price, so that the price inquiry shows an unknown part too;
// the parts common to every catalogue always have one.
#pragma once

#include <string>
#include <vector>

namespace pxbuild {

namespace demo {
// Records in key order: KAKAKU 50 bytes, PRICE3 66 bytes.
std::vector<std::string> kakaku_records();
std::vector<std::string> price3_records();
// Whether a part number of the demo has a price.
bool has_price(const std::string& part_no);
}  // namespace demo

struct DemoPrices {
    int kakaku = 0;
    int price3 = 0;
};

// Writes KAKAKU with PRICE.MST into kakaku_dir and PRICE3 with its own
// PRICE.MST into price3_dir (host folders, created when missing). A price
// directory holds one kind at a time, so the two go to two folders.
DemoPrices write_demo_prices(const std::string& kakaku_dir, const std::string& price3_dir);

}  // namespace pxbuild
