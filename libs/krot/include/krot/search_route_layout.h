// The work files and list lines of the search routes (work directory, path
// kind 0). The text files end every line with CR LF: the screens read them as
// fixed records of the line length + 2.
//
// "KKWDPNC.TMP", keyword result, one line per hit (72 characters):
//      0  60  part name              60   1  blank
//     61   6  part-name code         67   1  blank
//     68   4  figure number
//
// "PNCPOP.TMP", wildcard pick list, one line per code (68 characters):
//      0   6  part-name code          6   2  blanks
//      8  60  part name (blank when the code has none)
//
// Part-name-code entry list, a line of the screen's list box (74 characters,
// at most 1000 lines):
//      0   3  line number, "%03d" of its 0-based position
//      3   1  blank                   4   6  part-name code
//     10   1  blank                  11  60  part name
//     71   1  blank                  72   2  quantity
//
// User part-group list, a line made by VBMakeListGrpMei (groups.h):
//      2   3  group code             10  60  group name
#pragma once

#include <cstddef>

namespace pxkrot {

constexpr const char* kLineEnd = "\r\n";

namespace kkwd {
constexpr const char* kFileName = "KKWDPNC.TMP";
constexpr size_t kLineLen = 72;
constexpr size_t kName = 0, kNameSize = 60;
constexpr size_t kPnc = 61, kPncSize = 6;
constexpr size_t kFigure = 68, kFigureSize = 4;
}  // namespace kkwd

namespace pncpop {
constexpr const char* kFileName = "PNCPOP.TMP";
constexpr size_t kLineLen = 68;
constexpr size_t kPnc = 0, kPncSize = 6;
constexpr size_t kName = 8, kNameSize = 60;
}  // namespace pncpop

namespace entry {
constexpr size_t kLineLen = 74;
constexpr int kMaxLines = 1000;
constexpr size_t kNumber = 0, kNumberSize = 3;
constexpr size_t kPnc = 4, kPncSize = 6;
constexpr size_t kName = 11, kNameSize = 60;
constexpr size_t kQty = 72, kQtySize = 2;
}  // namespace entry

namespace grpline {
constexpr size_t kCode = 2, kCodeSize = 3;
constexpr size_t kName = 10, kNameSize = 60;
}  // namespace grpline

}  // namespace pxkrot
