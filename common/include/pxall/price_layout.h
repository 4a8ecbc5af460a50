// Keyed price files: the stored layout shared by the price readers
// (price_file.h) and the data-set builder (tools/). Numbers are little-endian.
//
// A price directory holds one keyed price file of one kind at a time:
//   kind  data file  index file  data entry name  record  block  index entries a block
//   1     KAKAKU.D   KAKAKU.IA   "KAKAKU  D  "    50      1800   100
//   2     PRICE3.D   PRICE3.IA   "PRICE3  D  "    66      1980   110
// and its master PRICE.MST. The local-price master LOCALP.MST has the same
// form ("LOCALP  D  ", 44-byte records, 1980-byte blocks).
//
// Data file: blocks of the block size; records packed from each block's
// first byte, ascending by their 12-byte key (bytes 0-11); only the last block
// may hold fewer, its rest zero. A record never begins with a zero byte, so a
// record whose first byte is zero ends the block's records.
//   KAKAKU record (50):  0 12 part number   12 8 price   20 10 carried field
//                        30 20 part name
//   PRICE3 record (66):  0 12 part number   12 8 price 1  20 8 price 2
//                        28 8 price 3  36 10 carried field  46 20 part name
//
// Index file: the levels one after the other, top level first, each a whole
// number of blocks; entries packed from each block's first byte, the rest of
// the level's last block zero. The level next to the data has one entry per
// data block, each further level one per block of the level below; the top is
// the first level that fits one block.
//   index entry (18):  0 12 key: the first 12 bytes of the last record (or
//                           entry) of the block it points to
//                      12  4 block number in the level below (or the data
//                           file), from 0
//                      16  2 number of blocks the entry covers, 1
//
// Master (PRICE.MST, 128 bytes): four 32-byte entries, the top index level at
// 0, the next level down at 32, a third at 64, the data file at 96.
//   0 11  name, 8 + 3 characters blank-padded without the dot ("KAKAKU  IA1")
//  11  1  file number 9                    12  1  compare: data 2, index 3
//  13  1  key length 12                    14  1  key offset 0
//  15  1  flag 1                           16  2  block size
//  18  2  zero                             20  4  length in blocks (0: absent)
//  24  4  first block in its file          28  2  record length (index 18)
//  30  1  data: index levels 1-2; index: its level 1-3, 0 when absent
//  31  1  class 3
// File names come from the entries: the first 10 characters without blanks,
// a dot before the extension ("KAKAKU  D " gives KAKAKU.D); the index file is
// named by the top entry.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pxall::price {

constexpr const char* kPriceMaster = "PRICE.MST";
constexpr const char* kLocalMaster = "LOCALP.MST";
constexpr int32_t kMasterSize = 128;
constexpr int kMasterEntries = 4;
constexpr int kDataEntry = 3;  // entry index of the data file
constexpr int kIdSize = 11;

constexpr const char* kKakakuId = "KAKAKU  D  ";
constexpr const char* kPrice3Id = "PRICE3  D  ";
constexpr const char* kLocalId = "LOCALP  D  ";

constexpr int32_t kKeySize = 12;
constexpr int32_t kIndexEntrySize = 18;
constexpr size_t kIndexKey = 0;
constexpr size_t kIndexBlock = 12;
constexpr size_t kIndexCount = 16;

constexpr int32_t kKakakuRecLen = 50;
constexpr int32_t kKakakuBlock = 1800;
constexpr int32_t kPrice3RecLen = 66;
constexpr int32_t kPrice3Block = 1980;
constexpr int32_t kLocalRecLen = 44;
constexpr int32_t kLocalBlock = 1980;

// Master entry fields.
namespace pment {
constexpr size_t kSize = 32;
constexpr size_t kId = 0;
constexpr size_t kFileNo = 11;
constexpr size_t kMask = 12;
constexpr size_t kKeyLen = 13;
constexpr size_t kKeyOff = 14;
constexpr size_t kFlag = 15;
constexpr size_t kBlockSize = 16;
constexpr size_t kBlocks = 20;
constexpr size_t kFirstBlock = 24;
constexpr size_t kRecLen = 28;
constexpr size_t kLevels = 30;
constexpr size_t kClass = 31;
}  // namespace pment

// Fixed master values the set-up writes.
constexpr uint8_t kFileNo = 9;
constexpr uint8_t kDataMask = 2;
constexpr uint8_t kIndexMask = 3;
constexpr uint8_t kFlag = 1;
constexpr uint8_t kClass = 3;

// KAKAKU record.
namespace kakaku {
constexpr size_t kPartNo = 0;
constexpr size_t kPrice = 12;
constexpr size_t kField = 20, kFieldSize = 10;
constexpr size_t kName = 30, kNameSize = 20;
}  // namespace kakaku

// PRICE3 record.
namespace price3 {
constexpr size_t kPartNo = 0;
constexpr size_t kPrice1 = 12, kPrice2 = 20, kPrice3 = 28;
constexpr size_t kField = 36, kFieldSize = 10;
constexpr size_t kName = 46, kNameSize = 20;
}  // namespace price3

// The price entry handed to the caller (50 bytes, the KAKAKU shape).
namespace entry {
constexpr int32_t kSize = 50;
constexpr size_t kPartNo = 0;
constexpr size_t kPrice = 12, kPriceSize = 8;
constexpr size_t kField = 20;   // 8 characters
constexpr size_t kField2 = 28;  // 2 characters
constexpr size_t kName = 30, kNameSize = 20;
}  // namespace entry

}  // namespace pxall::price
