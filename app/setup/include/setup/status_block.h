// The set-up status block of the selection files CATALOG.TMP (four blocks,
// areas E, G, U, J: one record of 488 bytes), FRAME.TMP (two blocks, world
// and Japan frame numbers: one record of 244 bytes) and DRVINFO.TMP (one
// block), as the catalogue set-up screen reads and writes it.
//
//   block (122 bytes)
//     0     1   selected: "1" ticked, else "0"
//     1     1   drive letter
//     2+12j 12  CD entry j, j = 0..9
//   CD entry (12 bytes)
//     0     2   CD code ("A1", "B3", "F2"); NUL or blank first byte ends the list
//     2     8   issue yyyymmdd, 8 blanks = none
//     10    1   source: "0" from the CD-ROM, else on the hard disk
//     11    1   "1" = the line carries the mark word (the library's; never written here)
//
// A status line shows one entry: code, blank, the source word (10), then
// "mm/dd/'yy" when there is an issue, then blank and the mark word when marked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace px::setup {

constexpr size_t kBlockSize = 122;
constexpr size_t kEntryCount = 10;
constexpr size_t kEntrySize = 12;
constexpr size_t kCatalogBlocks = 4;
constexpr size_t kFrameBlocks = 2;
constexpr size_t kCatalogRecord = kBlockSize * kCatalogBlocks;  // 488
constexpr size_t kFrameRecord = kBlockSize * kFrameBlocks;      // 244
constexpr size_t kWordSize = 10;

// A text cut or padded with blanks to `n` bytes.
std::string fixed(const std::string& text, size_t n);

struct Words {
    std::string cd_rom;     // 10 bytes
    std::string hard_disk;  // 10 bytes
    std::string mark;       // 10 bytes
};

// The status lines of a block's entries, up to the first empty one. A block
// shorter than 122 bytes gives the lines of its whole entries only.
std::vector<std::string> status_lines(const std::string& block, const Words& words);
// The status line of one 12-byte entry.
std::string status_line(const std::string& entry, const Words& words);

// A block as the screen hands it back: the flag, the drive and one entry a
// line (code, "yyyymmdd" for a line longer than 13 bytes else blanks,
// source "0" when bytes 4-5 read "CD"); `previous` gives the mark bytes,
// which stay as the library wrote them. At most 10 lines fit.
std::string hand_back_block(const std::string& previous, bool ticked, char drive,
                            const std::vector<std::string>& lines);
// The blank block: flag "0", drive " ", every entry blank (marks kept).
std::string blank_block(const std::string& previous);

// The line after a double click: code and the other source word.
std::string swapped_line(const std::string& line, const Words& words);

}  // namespace px::setup
