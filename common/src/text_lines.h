// Adding the lines of a text file to a list box, piece by piece as a buffer
// of `piece_size` bytes takes them: the help and list-box readers share it.
#pragma once

#include <cstdio>

#include "platform/controls.h"

namespace pxall {

// The largest text file a list box is filled from: far beyond any help or
// list file, and still a list a box can hold.
constexpr long kMaxTextListBytes = 16L << 20;

// Reads fp to its end and adds each line (an over-long line as several
// pieces of piece_size - 1 bytes, a piece one shorter where a double-byte
// character would be split) to box, which may be null. Only the
// line end (LF or CR LF) is taken off a line. 0, or the C error number of a
// failed read (EFBIG, with nothing added, for a file larger than
// kMaxTextListBytes).
int add_text_lines(std::FILE* fp, plat::Control* box, int piece_size);

}  // namespace pxall
