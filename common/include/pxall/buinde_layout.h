// BUINDE.DAT, the page index of a catalogue's illustrations (256-byte
// records in the catalogue's directory; key: the figure number at 6, 4
// characters; keyed_layout.h). Shared by its readers and the data-set builder.
// Character fields are blank-padded.
//
//     0   6  catalogue code               6   4  figure number
//    10   4  running number (not read)   14   7  page key
//    21   4  production date from, YYMM  25   4  production date to, YYMM;
//                                                blank or "0000": open-ended
//    29   1  record kind:
//            '0' a page
//            '1' a page completed by the kind-'2' record that follows it
//            '2' that continuation record
//    30 125  kinds '0' and '1': applicability bits, one byte a position,
//            matched against the vehicle's bits (blocks.h, ccar)
//    30 176  kind '2': the continuation block (passed on to the screen)
//   155  74  page title
//   229   9  image locator (image_layout.h: first block 6 digits, block
//            count 3 digits); to the screen: 4 + 2 characters, then 2 and 1
#pragma once

#include <cstddef>

namespace pxall::buinde {

constexpr const char* kFileName = "BUINDE.DAT";
constexpr int kKeySet = 11;

constexpr size_t kSize = 256;
constexpr size_t kCatalog = 0;
constexpr size_t kFigure = 6, kFigureSize = 4;
constexpr size_t kPageKey = 14, kPageKeySize = 7;
constexpr size_t kFrom = 21, kTo = 25, kDateSize = 4;
constexpr size_t kKind = 29;
constexpr size_t kBits = 30, kBitsSize = 125;
constexpr size_t kContinuation = 30, kContinuationSize = 176;
constexpr size_t kTitle = 155, kTitleSize = 74;
constexpr size_t kImage = 229, kImageSize = 9;

constexpr char kKindPage = '0';
constexpr char kKindContinued = '1';
constexpr char kKindContinuation = '2';

}  // namespace pxall::buinde
