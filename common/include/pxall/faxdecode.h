// The decoder of the illustrations' two-dimensional fax coding (modified READ:
// pass, horizontal and vertical modes against a reference line, modified
// Huffman runs; lines may start with an end-of-line code whose tag bit
// selects a one-dimensional line; an end-of-line code followed by eight zero
// bits ends the picture).
//
// It is a resumable state machine: the coded bytes come in chunks of any
// size, the rows go out as packed bits (1 = black, leftmost pixel in the most
// significant bit, (width + 7) / 8 bytes a row) into an output space of any
// size, and every call says whether it wants more input, filled the space,
// reached the end of the picture or met damaged data. One decoder per
// process; not reentrant.
#pragma once

#include <cstdint>

#include "platform/export.h"

namespace pxall {

// Modes of fax_decode.
constexpr int kFaxInit = 0;     // start a picture of the given width
constexpr int kFaxDecode = 1;   // go on decoding
constexpr int kFaxRelease = 2;  // drop a picture the caller gives up on

// Status values.
constexpr uint16_t kFaxInitialised = 0x1F02;
constexpr uint16_t kFaxOutputReady = 0x1500;  // the output space is full
constexpr uint16_t kFaxNeedInput = 0x2000;    // every input byte is used
constexpr uint16_t kFaxEndOfImage = 0x9F00;
constexpr uint16_t kFaxNoMemory = 0x8F08;
constexpr uint16_t kFaxLineTooLong = 0x8F0C;
constexpr uint16_t kFaxLineTooShort = 0x8F0D;
constexpr uint16_t kFaxBadCode = 0x8F0E;
constexpr uint16_t kFaxProgramError = 0xFFFF;  // -1: called out of turn or with bad arguments

// Error statuses share the high byte 0x8F.
constexpr bool fax_status_is_error(uint16_t status) { return (status >> 8) == 0x8F; }

// Entries of each line buffer; the first is a guard, three more close the
// reference line. A line of width w needs at most w + 2 change positions.
constexpr int kFaxLineEntries = 5733;
constexpr int kFaxMaxWidth = kFaxLineEntries - 6;

// kFaxInit: `width` is the picture width (1 .. kFaxMaxWidth); the other
// arguments are not used. Status kFaxInitialised, result 0. While a picture
// is under way it writes "PROGRAM ERROR (decode_init)" to stderr, status
// kFaxProgramError, result -1 (the picture under way is kept). A width out of
// range gives kFaxLineTooShort (0) or kFaxLineTooLong, no memory
// kFaxNoMemory; result -1.
//
// kFaxDecode: decodes `in[0 .. in_len)` (the input index starts at 0 after
// every kFaxNeedInput; after kFaxOutputReady pass the same input again).
// `out` / `*out_count` is the output space and its size in bytes, the same at
// every call; rows land at increasing offsets of it across calls. On return
// `*width` is the picture width and `*out_count`:
//   kFaxOutputReady  the whole space is filled: the size;
//   kFaxNeedInput    0 (rows written so far stay in the space, unreported);
//   kFaxEndOfImage   the bytes written since the last report; the decoder is
//                    free for the next picture.
// Result 0 for these. Damaged data gives an error status and result -1, and
// the decoder is free for the next picture. An input length below 1 answers
// kFaxNeedInput at once. Called with no picture under way, or with null
// pointers or a space below 1 byte: kFaxProgramError, result -1.
//
// kFaxRelease: forgets the picture under way (if any); result 0.
PX_EXPORT int fax_decode(int mode, uint16_t* width, const uint8_t* in, int32_t in_len, uint8_t* out,
                         int32_t* out_count, uint16_t* status);

}  // namespace pxall
