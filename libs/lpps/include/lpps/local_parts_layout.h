// The work files of the local-parts route (work directory, path kind 0),
// text lines ended by CR LF: the screens read them as fixed records of the
// line length + 2.
//
// "LPEMFNLS.TMP", the figures of the vehicle's catalogue that have local
// parts, one line per figure in file order (37 characters):
//      0   1  blank                   1   4  figure number
//      5   2  blanks                  7  30  figure name
//
// "LPPSFNLS.TMP", the part lines of one figure (36 characters, read back as
// records of 38 bytes); also the lines of the page screen's list box:
//      0  12  part number, blank on a continuation line
//     12   1  blank                  13  20  a piece of the part's text
//     33   1  blank                  34   2  quantity, blank in the file
// A text of more than 20 characters goes on in continuation lines, cut at
// the last blank or comma (wrap.h); a part number repeated in consecutive
// records gives no new line.
#pragma once

#include <cstddef>

namespace pxlpps {

namespace figlist {
constexpr const char* kFileName = "LPEMFNLS.TMP";
constexpr size_t kLineLen = 37;
constexpr size_t kFigure = 1, kFigureSize = 4;
constexpr size_t kName = 7, kNameSize = 30;
}  // namespace figlist

namespace partlist {
constexpr const char* kFileName = "LPPSFNLS.TMP";
constexpr size_t kLineLen = 36;
constexpr size_t kRecord = kLineLen + 2;
constexpr size_t kPart = 0, kPartSize = 12;
constexpr size_t kText = 13, kTextSize = 20;
constexpr size_t kQty = 34, kQtySize = 2;
}  // namespace partlist

}  // namespace pxlpps
