// A saved list's save data file as the editor reads and rewrites it, and
// its lines as the editor shows them.
//
// File: the 99-byte header, then a 14-byte record per part, as many as the
// header's count says.
//
//   header at width
//      0  17   VIN
//     17  15   model
//     32   6   catalogue code
//     38   6   production date (yyyymm)
//     44  15   frame model 7, "-", frame number 7
//     59   3   colour code
//     62   4   trim code
//     66  30   note
//     96   3   part count, decimal text ("005" as the parts list writes
//              it, "5  " as the editor does)
//   part record: part number 12, quantity 2
//
// List line (25 characters, columns from 1): blank, line number "000", two
// blanks, part number 1-5, "-", 6-10, "-", 11-12, three blanks, quantity.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace px::save_data {

constexpr size_t kHeaderSize = 99;
constexpr size_t kPartSize = 14;
constexpr size_t kVin = 0, kVinSize = 17;
constexpr size_t kModel = 17, kModelSize = 15;
constexpr size_t kCatalog = 32, kCatalogSize = 6;
constexpr size_t kProdDate = 38, kProdDateSize = 6;
constexpr size_t kFrame = 44, kFrameSize = 15;
constexpr size_t kColor = 59, kColorSize = 3;
constexpr size_t kTrim = 62, kTrimSize = 4;
constexpr size_t kNote = 66, kNoteSize = 30;
constexpr size_t kCount = 96, kCountSize = 3;
constexpr int kMaxLines = 999;

struct Part {
    std::string part_no;  // 12
    std::string qty;      // 2
};

// Reads a whole save data file's bytes. 0, or the run-time error number:
// 13 the count is not a number, 62 the file ends before the header or before
// the parts its count announces.
int32_t parse(std::string_view bytes, std::string* header, std::vector<Part>* parts);
// The count field's value: "005", "5  " and "  5" alike; -1 when it is not
// a number (blank reads 0).
int count_value(std::string_view field);
// The file the editor writes: the header with its count left-aligned
// ("5  "), then the parts.
std::string build(std::string_view header, const std::vector<Part>& parts);

// List lines.
std::string line(int number, std::string_view part_no, std::string_view qty);
Part part_of_line(std::string_view line);
// The line with its number replaced.
std::string renumber(std::string_view line, int number);

// The export header of the CSV kind: the trimmed vehicle fields, the note in
// quotes, and the count with leading zeros; a field that holds a comma, a
// quote or a line end is quoted, a quote inside doubled (RFC 4180).
std::string csv_header(std::string_view header, int count);
// The 99-byte header image of the text kind: the header up to the note and
// the count with leading zeros.
std::string save_header(std::string_view header, int count);
// One field of a CSV line, quoted where it must be.
std::string csv_field(std::string_view text, bool always_quote = false);

}  // namespace px::save_data
