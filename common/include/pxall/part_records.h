// The catalogue records that the part-number inquiries read (the keyed files
// themselves are in keyed_layout.h). Offsets are 0-based; character fields
// are blank-padded.
//
// HINBAN.DAT, part numbers of a catalogue (256 bytes, in the catalogue's
// directory; key: the part-name code at 6, 6 characters). Byte 34 is the
// record kind; the records of one part follow its kind-'1' record:
//   kind '1'  starts a part
//      0   6  catalogue code          6   6  part-name code
//     12  12  part number            24   2  quantity
//     26   4  valid from             30   4  valid to ("9999": no end)
//    185  71  remarks, first part
//   kind '3'  the alternatives of the part in hand
//     37  56  four slots of part number (12) and quantity (2)
//   kind '4'  continues the remarks of the part in hand
//     37 219  remarks, next part
//   other kinds are passed over.
//
// FIGIND.DAT, figure index of a CD (28 bytes, 73 to a 2048-byte block at
// 0 .. 2016; key: catalogue code and part number, 18 characters):
//      0   6  catalogue code          6  12  part number
//     18   6  part-name code         24   4  figure number
//
// HINMnn.DAT, part names of data language nn (66 bytes, 31 to a block; key:
// the part-name code, 6 characters):
//      0   6  part-name code          6  60  part name
//
// SHAMEI.DAT, car names of an area (97 bytes, 21 to a block; key: the
// catalogue code at 23):
//      0   3  record prefix          3  20  car name
//     23   6  catalogue code        29  50  description
//     79   4  production from YYMM  83   4  production to YYMM
//     87   2  CD number of the catalogue's CD
//     92   4  a field the catalogue list carries unchanged
//     96   1  brand flag
#pragma once

#include <cstddef>

namespace pxall {

namespace hinban_rec {
constexpr size_t kSize = 256;
constexpr size_t kCatalog = 0;
constexpr size_t kPnc = 6;
constexpr size_t kPart = 12;
constexpr size_t kQty = 24;
constexpr size_t kFrom = 26;
constexpr size_t kTo = 30;
constexpr size_t kKind = 34;
constexpr size_t kSlots = 37;
constexpr size_t kSlotSize = 14;  // part number 12, quantity 2
constexpr int kSlotCount = 4;
constexpr size_t kRemarks = 185;
constexpr size_t kRemarksSize = 71;
constexpr size_t kMore = 37;
constexpr size_t kMoreSize = 219;
constexpr char kKindPart = '1';
constexpr char kKindAlternatives = '3';
constexpr char kKindRemarks = '4';
}  // namespace hinban_rec

namespace figind_rec {
constexpr size_t kSize = 28;
constexpr int kPerBlock = 73;
constexpr size_t kCatalog = 0;
constexpr size_t kPart = 6;
constexpr size_t kPnc = 18;
constexpr size_t kFigure = 24;
constexpr size_t kKeySize = 18;  // catalogue code and part number
}  // namespace figind_rec

namespace hinmei_rec {
constexpr size_t kSize = 66;
constexpr size_t kPnc = 0;
constexpr size_t kName = 6;
constexpr size_t kNameSize = 60;
}  // namespace hinmei_rec

namespace shamei_rec {
constexpr const char* kFile = "SHAMEI.DAT";
constexpr size_t kSize = 97;
constexpr int kPerBlock = 21;
constexpr size_t kPrefix = 0, kPrefixSize = 3;
constexpr size_t kCarName = 3;
constexpr size_t kCarNameSize = 20;
constexpr size_t kCatalog = 23;
constexpr size_t kDescription = 29, kDescriptionSize = 50;
constexpr size_t kFrom = 79;
constexpr size_t kTo = 83;
constexpr size_t kCdNo = 87, kCdNoSize = 2;
constexpr size_t kField = 92, kFieldSize = 4;
constexpr size_t kBrand = 96;
}  // namespace shamei_rec

// Field widths shared by the inquiries.
constexpr size_t kCatalogSize = 6;
constexpr size_t kPncSize = 6;
constexpr size_t kQtySize = 2;
constexpr size_t kDateSize = 4;

// The part-name file of a data language: "HINM" + the 2-character code + ".DAT".
constexpr const char* kHinmeiFormat = "HINM%2.2s.DAT";

}  // namespace pxall
