// The work files the parts-list engine writes for the parts-list screen, the
// print routine, the price list and the feature pop-up. Offsets are 0-based;
// every field is fixed-width text, blank-padded; no record has a line end.
//
// Parts-list file PXPNHO1.TMP (work directory), 96 bytes a line:
//    0  2  f1  running number of the part, on its first line only ("01")
//    2  6  f2  part-name code on the first line of a group; the usage
//              label ("(SUB) ") on an alternative's line; else blank
//    8  2  f3  quantity asked for, on a line with a part number
//   10 14  f4  part number, display form
//   24  2  f5  catalogue quantity of the part or alternative
//   26  9  f6  validity "YYMM-YYMM" (blank after the dash: no end)
//   35 30  f7  part name, on the part's first line
//   65 30  f8  one piece of the remarks
//   95  1  f9  mark: "S" marked, blank not
//
// Print file PXPNHO2.TMP, 134 bytes a printed line:
//    0 49  Column1  running number, blank, part name; on the total line
//                   the total amount
//   49  6  Column2  part-name code (as f2)
//   55  1  LineKind "2" the total line; "*" a marked line; else blank
//   56 14  Column4  part number
//   70  2  Column3  quantity asked for
//   72  2  Column5  catalogue quantity
//   74  9  Column6  validity
//   83 30  Column7  remarks piece
//  113  8  Column8  unit price of the price kind ("%8.2f"), blank unpriced
//  121 13  Column9  amount: price times quantity ("%13.2f")
//
// Price-list file PXPNHO3.TMP, 72 bytes a marked part:
//    0  2  line number ("01")    2  6  part-name code    8  2  quantity
//   10 14  part number          24 27  part name
//   51 10  unit price ("%10.2f"; "*" filled when the price file lacks it)
//   61 10  the price file's carried field
//   71  1  mark "S"
//
// Feature kind file PXPNHO4.TMP, 22 bytes:  0 2 kind number, 2 20 name.
// Feature code file PXPNHO5.TMP, 85 bytes:
//    0  2  sequence, the record's own position from 1 ("01")
//    2  2  kind number            4 10  feature code
//   14 70  description            84  1  mark "S" chosen, else blank
#pragma once

#include <cstddef>

namespace pxpnho {

constexpr const char* kListFile = "PXPNHO1.TMP";
constexpr const char* kPrintFile = "PXPNHO2.TMP";
constexpr const char* kPriceFile = "PXPNHO3.TMP";
constexpr const char* kKindFile = "PXPNHO4.TMP";
constexpr const char* kCodeFile = "PXPNHO5.TMP";

namespace list_rec {
constexpr size_t kSize = 96;
constexpr size_t kF1 = 0, kF1Size = 2;
constexpr size_t kF2 = 2, kF2Size = 6;
constexpr size_t kF3 = 8, kF3Size = 2;
constexpr size_t kF4 = 10, kF4Size = 14;
constexpr size_t kF5 = 24, kF5Size = 2;
constexpr size_t kF6 = 26, kF6Size = 9;
constexpr size_t kF7 = 35, kF7Size = 30;
constexpr size_t kF8 = 65, kF8Size = 30;
constexpr size_t kF9 = 95;
}  // namespace list_rec

namespace print_rec {
constexpr size_t kSize = 134;
constexpr size_t kColumn1 = 0, kColumn1Size = 49;
constexpr size_t kColumn2 = 49, kColumn2Size = 6;
constexpr size_t kLineKind = 55;
constexpr size_t kColumn4 = 56, kColumn4Size = 14;
constexpr size_t kColumn3 = 70, kColumn3Size = 2;
constexpr size_t kColumn5 = 72, kColumn5Size = 2;
constexpr size_t kColumn6 = 74, kColumn6Size = 9;
constexpr size_t kColumn7 = 83, kColumn7Size = 30;
constexpr size_t kColumn8 = 113, kColumn8Size = 8;
constexpr size_t kColumn9 = 121, kColumn9Size = 13;
constexpr char kTotalLine = '2';
}  // namespace print_rec

namespace price_rec {
constexpr size_t kSize = 72;
constexpr size_t kLine = 0, kLineSize = 2;
constexpr size_t kPnc = 2, kPncSize = 6;
constexpr size_t kQty = 8, kQtySize = 2;
constexpr size_t kPart = 10, kPartSize = 14;
constexpr size_t kName = 24, kNameSize = 27;
constexpr size_t kPrice = 51, kPriceSize = 10;
constexpr size_t kRemark = 61, kRemarkSize = 10;
constexpr size_t kMark = 71;
}  // namespace price_rec

namespace kind_rec {
constexpr size_t kSize = 22;
constexpr size_t kKind = 0, kKindSize = 2;
constexpr size_t kName = 2, kNameSize = 20;
}  // namespace kind_rec

namespace code_rec {
constexpr size_t kSize = 85;
constexpr size_t kSeq = 0, kSeqSize = 2;
constexpr size_t kKind = 2, kKindSize = 2;
constexpr size_t kCode = 4, kCodeSize = 10;
constexpr size_t kText = 14, kTextSize = 70;
constexpr size_t kMark = 84;
}  // namespace code_rec

// The two-digit fields of the feature files hold at most this many records.
constexpr int kMaxFeatureRecords = 99;

}  // namespace pxpnho
