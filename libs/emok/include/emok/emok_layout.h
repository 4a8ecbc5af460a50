// The illustration index's work files (work directory, path kind 0) and its
// hot spots.
//
// "EMOKDATS.TMP", "EMOKDATZ.TMP": the stored image of the page's detail and
// overall picture; "EMOKIMGS.BMP", "EMOKIMGZ.BMP": their bitmaps (image.h).
//
// "EMOKFNLS.TMP", the page's figure list, text lines of 36 characters ended
// by CR LF (read back as records of 38 bytes):
//      0   5  figure number as "NN-NN" (its first two characters, "-", its
//             last two)
//      5   1  blank                   6  30  a piece of the figure name
// A name of more than 30 characters goes on in lines whose columns 0-5 are
// blank, cut at the last blank or comma (wrap.h).
//
// Hot spot: the 36-byte text entry of image_layout.h, its rectangle scaled
// to 90/100 on reading; the attribute "1" is a figure label (the text's
// first 4 characters are the figure number), "2" an area box (the first 2
// the area code); byte 23 is 1 while the rectangle is shown inverted. A
// table ends with an entry whose attribute is 0.
#pragma once

#include <cstddef>

namespace pxemok {

constexpr const char* kDetailImage = "EMOKDATS.TMP";
constexpr const char* kOverallImage = "EMOKDATZ.TMP";
constexpr const char* kDetailBitmap = "EMOKIMGS.BMP";
constexpr const char* kOverallBitmap = "EMOKIMGZ.BMP";

namespace fnls {
constexpr const char* kFileName = "EMOKFNLS.TMP";
constexpr size_t kLineLen = 36;
constexpr size_t kFigure = 0, kFigureSize = 5;
constexpr size_t kName = 6, kNameSize = 30;
}  // namespace fnls

namespace spot {
constexpr size_t kInverted = 23;
constexpr char kFigureLabel = '1';
constexpr char kAreaBox = '2';
constexpr int kScaleNum = 90;
constexpr int kScaleDen = 100;
}  // namespace spot

constexpr int kMaxPages = 180;
constexpr int kMaxLinks = 191;
// A label links to an area box when its top lies strictly between the box's
// top - 11 and top + 49, at or right of the box's right edge and left of the
// next area box to the right.
constexpr int kLinkAbove = 11;
constexpr int kLinkBelow = 49;
constexpr int kNoBoundary = 9999;
// An area selects at most this many of its linked figures.
constexpr int kFiguresPerArea = 2;

}  // namespace pxemok
