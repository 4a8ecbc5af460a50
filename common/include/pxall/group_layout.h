// The two user part-group files of the master directory (path kind 1), shared
// by the library's reader and writer and by the data-set builder.
//
// Group name file PXGRPMEI.D: exactly 63063 bytes, 1001 slots of 63 bytes.
//   slot 0 (header)     0  2  number of groups, little-endian, 0-1000
//                       2 61  zero
//   slot 1 .. count     0  3  group code
//                       3 60  group name, blank-padded
//   slots after the last group are zero.
//
// Group part-code file PXGRPPNC.D: 1000 records of 600 bytes (600000 bytes).
//   record i (at i x 600) belongs to name-file slot i + 1; it is 100 slots of
//   6 characters, each a part-name code or 6 blanks (free). Codes stand at the
//   front: the first free slot ends the group's list. Records after the last
//   group are blank (all zero in files made by the rebuild, which has no
//   groups).
//
// The rebuild keeps a name file of at least 6364 bytes and a part-code file
// of at least 30001 bytes; shorter ones are made anew, all zero.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pxall::grpfile {

constexpr const char* kNameFile = "PXGRPMEI.D";
constexpr const char* kCodeFile = "PXGRPPNC.D";

constexpr int kMaxGroups = 1000;

// Name file.
constexpr size_t kSlotSize = 63;
constexpr int kSlotCount = kMaxGroups + 1;
constexpr size_t kNameFileSize = kSlotSize * kSlotCount;  // 63063
constexpr size_t kCountAt = 0;                            // u16 in slot 0
constexpr size_t kCodeAt = 0;
constexpr size_t kCodeLen = 3;
constexpr size_t kNameAt = 3;
constexpr size_t kNameLen = 60;

// Part-code file.
constexpr int kCodesPerGroup = 100;
constexpr size_t kPncLen = 6;
constexpr size_t kRecordSize = kPncLen * kCodesPerGroup;      // 600
constexpr int kRecordCount = kMaxGroups;
constexpr size_t kCodeFileSize = kRecordSize * kRecordCount;  // 600000

// Below these sizes the rebuild makes a file anew.
constexpr size_t kNameFileMinSize = 6364;
constexpr size_t kCodeFileMinSize = 30001;

// Offset of a group's slot in the name file, slot 1 .. 1000.
constexpr size_t slot_offset(int slot) { return kSlotSize * static_cast<size_t>(slot); }
// Offset of the part-code record of name-file slot `slot`.
constexpr size_t record_offset(int slot) { return kRecordSize * static_cast<size_t>(slot - 1); }

}  // namespace pxall::grpfile
