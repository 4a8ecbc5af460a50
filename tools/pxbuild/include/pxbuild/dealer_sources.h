// The files a dealer receives for the price and local-parts set-up, as the
// set-up reads them:
//
//   PRICE          fixed 50-byte single-price records, rising by part number
//   PRICE3         fixed 66-byte three-price records
//   PRICE001.CSV.. the single-price records as CSV in pieces: part number,
//                  price, field, name; quoted fields with doubled quotes,
//                  short lines (missing fields), CR LF line ends
//   PRIC3001.CSV.. the three-price records the same way
//   LOCALP         fixed 44-byte records of local parts (set 1)
//   LOCALP1        CSV of 5 fields (set 1), LOCALP2 of 6 (set 2),
//   LOCALP3        of 9 (set 3, naming pictures)
//   PICS/          the set-3 pictures, small one-bit bitmaps (names in
//                  another case than LOCALP3 gives them)
#pragma once

#include <string>
#include <vector>

namespace pxbuild {

// Price records of a kind (1: 50 bytes, 2: 66 bytes), n of them, rising by
// part number; the same n always gives the same records.
std::vector<std::string> dealer_price_records(int kind, int n);

// Records cut into fields of these widths (from the record's start) as CSV
// lines with CR LF: trailing blanks cut, trailing blank fields left out,
// quotes where a field needs them and on every third field.
std::string dealer_csv(const std::vector<std::string>& records, const std::vector<int>& widths);

// The CSV lines of price records, as the pieces write them.
std::string dealer_price_csv(int kind, const std::vector<std::string>& records);

// Writes every source file into host_folder; the CSV price files in
// `pieces` pieces.
void write_dealer_sources(const std::string& host_folder, int price_records = 200, int pieces = 3);

// The demo's own prices and local parts as its dealer receives them: PRICE
// and PRICE3 (fixed records), LOCALP1, LOCALP2, LOCALP3 (CSV) and the set-3
// pictures in PICS/.
void write_demo_dealer_files(const std::string& host_folder);

}  // namespace pxbuild
