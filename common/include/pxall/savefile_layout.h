// Saved-list files, in the master directory. Shared by the library and the
// data-set builder; the builder writes these bytes from this header alone.
//
// Save master "PXIFSMST.SAV": 16-byte records; record n (1-9999) is the
// entry of save number n at byte n x 16, record 0 the header.
//
//   header (record 0)
//     0  2  number of saved lists, little-endian, 0-9999
//     2  2  next save number to hand out, little-endian signed, 1-9999
//           (0: take the first free entry)
//     4 12  zero
//
//   entry (record n)
//     0  1  state: 0 free, 1 used, 'U' in use (opened for editing),
//           'D' deleted
//     1  3  zero
//     4  6  date saved, DDMMYY
//    10  6  time saved, HHMMSS
//
//   A new master is 32 bytes: the header (next 1, count 0) and one zero
//   record. Entries past the end of the file are free.
//
// Save data file "PXIFnnnn.SAV" (nnnn the save number, "%04d"): text, no
// line ends, no NUL.
//
//   vehicle header, 99 bytes, blank-padded
//     0 10  VIN, first 10 characters
//    10  7  frame number, when the VIN and the frame number are both present
//    17 15  saved-list vehicle text
//    32  6  catalogue code
//    38  6  production date entered
//    44  7  frame model
//    51  1  '-'
//    52  7  frame number
//    59  3  colour number
//    62  4  trim number
//    66 30  notes
//    96  3  number given by the writer, "%03d"
//
//   then part records of 14 bytes: part number (12, blank-padded) and
//   quantity (2 decimal characters).
#pragma once

#include <cstddef>
#include <cstdint>

namespace pxall::savefile {

constexpr const char* kMasterName = "PXIFSMST.SAV";
// The data file name: "PXIF" + "%04d" + ".SAV".
constexpr const char* kDataPrefix = "PXIF";
constexpr const char* kDataSuffix = ".SAV";
constexpr const char* kIntfTmpName = "PXINTF.TMP";   // master directory
constexpr const char* kIntfTmp2Name = "INTF.TMP";    // work directory

constexpr size_t kRecordSize = 16;
constexpr int32_t kMaxSaveNo = 9999;
constexpr int32_t kMaxCount = 9999;
// The longest master: the header and entries 1-9999.
constexpr size_t kMaxMasterSize = kRecordSize * (kMaxSaveNo + 1);
constexpr size_t kNewMasterSize = 2 * kRecordSize;

// Header fields.
constexpr size_t kHdrCount = 0;
constexpr size_t kHdrNext = 2;

// Entry fields.
constexpr size_t kEntState = 0;
constexpr size_t kEntDate = 4;
constexpr size_t kEntDateSize = 6;
constexpr size_t kEntTime = 10;
constexpr size_t kEntTimeSize = 6;

constexpr unsigned char kStateFree = 0;
constexpr unsigned char kStateUsed = 1;
constexpr unsigned char kStateInUse = 'U';
constexpr unsigned char kStateDeleted = 'D';

// Byte offset of entry n.
constexpr size_t entry_offset(int32_t n) { return static_cast<size_t>(n) * kRecordSize; }

// Save data file.
constexpr size_t kDatHeaderSize = 99;
constexpr size_t kDatVin = 0, kDatVinSize = 10;
constexpr size_t kDatVinFrame = 10, kDatVinFrameSize = 7;
constexpr size_t kDatVehicle = 17, kDatVehicleSize = 15;
constexpr size_t kDatCatalog = 32, kDatCatalogSize = 6;
constexpr size_t kDatProdDate = 38, kDatProdDateSize = 6;
constexpr size_t kDatFrameModel = 44, kDatFrameModelSize = 7;
constexpr size_t kDatDash = 51;
constexpr size_t kDatFrameNo = 52, kDatFrameNoSize = 7;
constexpr size_t kDatColor = 59, kDatColorSize = 3;
constexpr size_t kDatTrim = 62, kDatTrimSize = 4;
constexpr size_t kDatNotes = 66, kDatNotesSize = 30;
constexpr size_t kDatNumber = 96, kDatNumberSize = 3;

constexpr size_t kPartRecordSize = 14;
constexpr size_t kPartNo = 0, kPartNoSize = 12;
constexpr size_t kPartQty = 12, kPartQtySize = 2;

}  // namespace pxall::savefile
