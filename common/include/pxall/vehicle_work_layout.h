// Vehicle identification: the maker's VIN identifiers and the two work files
// of the work directory, shared by the library and the data-set builder.
// Numbers are little-endian.
//
// VIN (17 characters): a prefix, then the frame number at 10-16. A VIN that
// starts with one of the maker's world-manufacturer identifiers below has a
// 9-character prefix (identifier, vehicle descriptor, check digit) and "0"
// fills positions 9 and 10 where they are empty; any other VIN has an
// 8-character prefix and blank fill.
//
// Frame number: 7 characters, an upper-case letter or a digit, then six
// digits.
//
// "JOUHOU.TMP" (jouhou_tmp_record): records of 191 bytes, written by the
// vehicle-identification library; the record count is the file length / 191
// (a trailing piece is no record). The fields the narrowing tests, with the
// flag bit of the test:
//     0   6  6 characters                                        bit 2
//     6   9  VIN prefix, blank-padded                            bit 1
//    15  15  15 characters                                       bit 4
//    30   4  production date from, "YYMM"                        bit 16
//    34   4  production date to, "YYMM"; blank: see 177         bit 16
//    48 125  125 characters                                      bit 8
//   177   4  second production date to, used when 34-37 are blank;
//            both blank: the range is open
//   181   4  32-bit number                                       bit 32
//   185   4  32-bit number                                       bit 64
//   190   1  mark: blank or NUL while the record is in the list, else
//            the letter of the narrowing step that removed it
// The letter is kMarkLetters[code] for the code of the current step: the
// current-vehicle block holds the step index at 390 and one code byte per
// step from 394 (blocks.h).
//
// "VCLINF.TMP": a 133-byte header, then 32-byte records, record n at
// 133 + 32 n, at most 250 records.
// Header (vinft_header), given by the caller:
//    17   6  catalogue code; a blank at 17: no catalogue
//   100   4  number of records, stored by the builder
// Record (vinft_record):
//     0  10  symbol, or the start of a heading "** " + feature name + " **"
//            (a heading may run on into 10-28)
//    10  19  a piece of the symbol's text; further pieces in following
//            records whose bytes 0-9 are blank
//    29   1  1 when the symbol is one of the current vehicle's
//            characteristics, else 0
//    30   2  zero
// A fresh record is 28 blanks and 4 zero bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pxall::vehwork {

// --- VIN and frame number ---------------------------------------------------
constexpr int kVinSize = 17;
constexpr int kWmiSize = 3;
constexpr int kLongPrefix = 9;
constexpr int kShortPrefix = 8;
constexpr int kFrameNoSize = 7;

// The maker's world-manufacturer identifiers.
constexpr int kWmiCount = 15;
constexpr const char kWmis[kWmiCount][kWmiSize + 1] = {
    "PX1", "PX2", "PX3", "PX4", "PX5", "PX6", "PX7", "PX8", "PX9", "PXA", "PXB", "PXC", "PXD", "PXE", "PXF",
};

// --- JOUHOU.TMP --------------------------------------------------------------
constexpr const char* kJouhouName = "JOUHOU.TMP";

namespace jtmp {
constexpr size_t kSize = 191;
constexpr size_t kSix = 0, kSixSize = 6;
constexpr size_t kVin = 6, kVinSize = 9;
constexpr size_t kFifteen = 15, kFifteenSize = 15;
constexpr size_t kFrom = 30, kTo = 34, kDateSize = 4;
constexpr size_t kText = 48, kTextSize = 125;
constexpr size_t kTo2 = 177;
constexpr size_t kNum1 = 181;
constexpr size_t kNum2 = 185;
constexpr size_t kMark = 190;
}  // namespace jtmp

// Flag bits of the narrowing tests.
enum JouhouTest : int32_t {
    kTestVin = 1,
    kTestSix = 2,
    kTestFifteen = 4,
    kTestText = 8,
    kTestDate = 16,
    kTestNum1 = 32,
    kTestNum2 = 64,
};

constexpr const char kMarkLetters[] = "vcmfdotln";
constexpr int kMarkCount = 9;

// The narrowing step in the current-vehicle block: the index at 390 picks a
// code byte from 394 on, up to the end mode at 524.
constexpr int kMaxSteps = 524 - 394;

// --- VCLINF.TMP ----------------------------------------------------------------
constexpr const char* kVclinfName = "VCLINF.TMP";

namespace vinft {
constexpr size_t kHeaderSize = 133;
constexpr size_t kCatalog = 17, kCatalogSize = 6;
constexpr size_t kCount = 100;

constexpr size_t kRecordSize = 32;
constexpr int kMaxRecords = 250;
constexpr size_t kSymbol = 0, kSymbolSize = 10;
constexpr size_t kPiece = 10, kPieceSize = 19;
constexpr size_t kHit = 29;
constexpr size_t kFreshBlanks = 28;

// The file as the builder leaves it for a header without a catalogue.
constexpr size_t kEmptyFileSize = kHeaderSize + kRecordSize * kMaxRecords;

constexpr size_t record_offset(int n) { return kHeaderSize + kRecordSize * static_cast<size_t>(n); }
}  // namespace vinft

// Special-feature and symbol records of a catalogue, read by the pop-up
// builder (keyed catalogue files read in sequence).
namespace tokume {
constexpr size_t kSize = 30;
constexpr size_t kCode = 6;  // 16-bit feature code
constexpr size_t kLang = 8, kLangSize = 2;
constexpr size_t kName = 10, kNameSize = 20;
}  // namespace tokume

namespace kigouu {
constexpr size_t kSize = 90;
constexpr size_t kCode = 6;  // 16-bit feature code
constexpr size_t kSymbol = 8, kSymbolSize = 10;
constexpr size_t kLang = 18, kLangSize = 2;
constexpr size_t kText = 20, kTextSize = 70;
}  // namespace kigouu

}  // namespace pxall::vehwork
