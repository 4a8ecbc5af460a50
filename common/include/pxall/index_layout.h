// The catalogue files behind the search routes, shared by their readers and
// the data-set builder (keyed files: keyed_layout.h). Character fields are
// blank-padded.
//
// HCODEH.DAT, part-name-code header of a catalogue (16 bytes, 128 to a
// block, in the catalogue's directory; key: the part-name code at 10, 6
// characters; a code standing in several figures has one record for each):
//      0   6  catalogue code          6   4  figure number
//     10   6  part-name code
//
// EMINDE.DAT, illustration index of a catalogue (30 bytes, in the
// catalogue's directory; key: 4 characters at 6, "00", the figure-group
// character "1"-"4", "0"). The records of one figure group are its index
// pages in order: a detail record starts a page; an overall record belongs
// to the run of pages started since the overall record before it.
//      0   6  catalogue code          6   4  key
//     10   3  running number (not read)
//     13   1  kind: "0" detail picture, any other character overall picture
//     21   9  image locator (image_layout.h)
//
// FIGMnn.DAT, figure names of data language nn (71 bytes, at the CD's root;
// key: 7 characters, the catalogue code and a range character):
//      0   6  catalogue code          6   1  range character
//      7   4  figure number          11  60  figure name
// The range characters of an index figure group: group "1" reads "1", "2"
// and "3"; "2" reads "4"; "3" reads "5"; "4" reads "6".
#pragma once

#include <cstddef>

namespace pxall {

namespace hcodeh {
constexpr const char* kFileName = "HCODEH.DAT";
constexpr size_t kSize = 16;
constexpr size_t kCatalog = 0;
constexpr size_t kFigure = 6, kFigureSize = 4;
constexpr size_t kPnc = 10, kPncSize = 6;
}  // namespace hcodeh

namespace eminde {
constexpr const char* kFileName = "EMINDE.DAT";
constexpr size_t kSize = 30;
constexpr size_t kCatalog = 0;
constexpr size_t kKey = 6, kKeySize = 4;
constexpr size_t kGroup = 8;  // the figure-group character inside the key
constexpr size_t kSeq = 10, kSeqSize = 3;
constexpr size_t kKind = 13;
constexpr size_t kImage = 21, kImageSize = 9;
constexpr char kKindDetail = '0';
}  // namespace eminde

namespace figm {
constexpr const char* kFileFormat = "FIGM%2.2s.DAT";  // with the data language code
constexpr size_t kSize = 71;
constexpr size_t kCatalog = 0;
constexpr size_t kRange = 6;
constexpr size_t kKeySize = 7;
constexpr size_t kFigure = 7, kFigureSize = 4;
constexpr size_t kName = 11, kNameSize = 60;
}  // namespace figm

}  // namespace pxall
