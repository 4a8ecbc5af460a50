// The illustration screen's state and work files.
//
// Image block (blocks.h get_cimg_addr, 344 bytes), this library's own:
//     0  71  figure state of the illustration in hand
//    71   2  index (signed, from 0) of the current figure in the chosen-figure
//            list of the next-screen block
//    73 200  match flag of each chosen figure, 100 signed 16-bit values
//   272   1  zero
//   273  71  figure state of the open sub-illustration; byte 273 is zero
//            while none is open
//
// Figure state (71 bytes):
//     0   4  figure number
//     4  60  figure name, blank-filled (60 blanks when the catalogue has none)
//    64   1  zero (ends the name)
//    65   2  page count (signed)
//    67   2  match flag: 0 only the pages that fit the vehicle, 1 all pages
//    69   2  reference entries of the page in hand (lines of its list)
//
// Page record (259 bytes), as the screen receives it:
//     0  74  page title                  74 176  continuation block, or blanks
//   250   9  image locator (4 + 2 characters, then 2 and 1)
//
// "hinmei1.tmp" (text; each line 34 characters and CR LF):
//     0   6  reference code on a code's first line, blanks on the lines that
//            continue its part name
//     6   1  blank
//     7  23  a piece of the part name
//    30   2  blanks
//    32   2  quantity of a selected code, else blanks
//   A sub-illustration (attribute '1') or special reference ('4') has one
//   line: its 12-character code, a blank, then from column 13 to column 29
//   screen text 1810 ('1') or 1809 ('4').
//   A page without references has one blank line.
//
// "hinmei2.tmp" (binary, 67 bytes a reference code, no separator):
//     0   6  reference code               6   1  blank
//     7  60  part name, 60 blanks when the part-name file has none
//
// Selected-items line (16 characters): the 12-character code, two blanks,
// the 2-character quantity.
#pragma once

#include <cstddef>

namespace pxbunz {

namespace img {
constexpr size_t kMain = 0;
constexpr size_t kFigureIndex = 71;
constexpr size_t kMatchFlags = 73;
constexpr int kMaxFigures = 100;
constexpr size_t kGuard = 272;
constexpr size_t kSub = 273;
}  // namespace img

namespace fig {
constexpr size_t kSize = 71;
constexpr size_t kFigure = 0, kFigureSize = 4;
constexpr size_t kName = 4, kNameSize = 60;
constexpr size_t kNameEnd = 64;
constexpr size_t kPageCount = 65;
constexpr size_t kMatch = 67;
constexpr size_t kRefCount = 69;
}  // namespace fig

namespace page {
constexpr size_t kSize = 259;
constexpr size_t kTitle = 0, kTitleSize = 74;
constexpr size_t kContinuation = 74, kContinuationSize = 176;
constexpr size_t kImage = 250, kImageSize = 9;
}  // namespace page

namespace refline {
constexpr size_t kSize = 34;
constexpr size_t kCode = 0, kCodeSize = 6;
constexpr size_t kName = 7, kNameSize = 23;
constexpr size_t kQty = 32, kQtySize = 2;
// Sub-illustration and special references.
constexpr size_t kLongCodeSize = 12;
constexpr size_t kText = 13, kTextEnd = 30;  // columns 13 .. 29
// A blank here marks a sub-illustration line; its figure is columns 0-3.
constexpr size_t kSubMark = 4;
}  // namespace refline

namespace namerec {
constexpr size_t kSize = 67;
constexpr size_t kCode = 0, kCodeSize = 6;
constexpr size_t kName = 7, kNameSize = 60;
}  // namespace namerec

namespace selline {
constexpr size_t kSize = 16;
constexpr size_t kCode = 0, kCodeSize = 12;
constexpr size_t kQty = 14, kQtySize = 2;
}  // namespace selline

// Screen texts of the one-line references.
constexpr int kScrSubIllustration = 1810;
constexpr int kScrSpecial = 1809;

constexpr const char* kImageWork = "pximg1.tmp";
constexpr const char* kBitmapWork = "pximg2.bmp";
constexpr const char* kListWork = "hinmei1.tmp";
constexpr const char* kNameWork = "hinmei2.tmp";

}  // namespace pxbunz
