// The shared area: one zeroed allocation of 5051 bytes carved into five
// blocks at fixed positions, reached only through their accessors. Every
// library of the process reads and writes these positions directly, so the
// offsets below are an interface; multi-byte numbers are little-endian.
//
//   block                accessor          at     length
//   shared state block   get_ctop_addr        0   3497
//   menu stack           get_cnext_addr    3497     78
//   next-screen block    get_cnexta_addr   3575    500
//   current-vehicle      get_ccar_addr     4075    632
//   image block          get_cimg_addr     4707    344
//
// Shared state block:
//     0   4  "COMN"
//     4   3  data language code "01".."09" + NUL
//     7   3  menu language code
//    10   2  data language number 1-9
//    12   2  menu language number 1-9
//    14   1  1 when a catalogue data set is installed
//    20   1  always 0
//    21   1  number of CD drives 0-10
//    22  20  CD drive list, 10 x "D:"
//    42  64  work directory            (path kind 0)
//   106  64  master directory          (path kind 1)
//   170  64  program-file directory    (path kind 4)
//   234  64  price directory           (path kind 2)
//   298  64  local-price directory     (path kind 3)
//   362  64  unused, zero
//   426 480  set-up table, 30 x 16
//   906   4  set-up table entries in use 0-30
//   910   4  current area index 0 E, 1 G, 2 U, 3 J; -1 unknown
//   914   8  per-area master drive, 4 x (letter, NUL)
//   922  64  world frame-number directory (path kind 6)
//   986  64  Japan frame-number directory (path kind 7)
//  1050 2048 export programs for the parts list, 8 x 256
//  3098 256  export program of the saved-list editor
//  3355   4  number of the current saved list
//  3359   4  open file of the current saved list
//  3363   4  message table address slot (kept zero: the table lives in
//            the library, see texts.h)
//  3367   2  entries in the message table
//  3369   4  screen text table address slot (kept zero)
//  3373   2  entries in the screen text table
//
// Set-up table entry (16 bytes, entry i at 426 + 16 i):
//     0 2  data-set directory name ("E1", "JF" ...)
//     2 2  CD number
//     4 8  CD date
//    12 4  flags; byte 14 is 1 when the data set's picture (or frame-model)
//          file is present
//
// Menu stack: 32-bit count, then 64 one-byte menu ids.
//
// Next-screen block:
//     0   4  figure-route flags
//     4   2  number of selected figures 0-100
//     6 400  selected figure numbers, 100 x 4
//   406  60  user part-group name
//   466   3  user part-group code, blank-padded
//   469   1  local-parts route flag
//   470  15  catalogue search key
//
// Current-vehicle block (character fields NUL-padded):
//     0  6 catalogue code          60 30 notes
//    15 15 saved-list vehicle     90 10 characteristic 1, field 1
//    30  7 frame model           100 10 characteristic 1, field 2
//    37  7 frame number          110 5k characteristic 2, entry k
//    44  6 production date       340 20 vehicle name
//    51  3 colour number         360  4 car-name record bytes 92-95
//    54  4 trim number           364  4 production date from
//   368  4 production date to    372 10 VIN prefix
//   382  4 set-up index of the car-name CD
//   386  4 set-up index of the vehicle's data set
//   390  4 narrowing step index  394  n narrowing step codes
//   524  4 end mode of the catalogue list
//   532 16 set-up indexes of up to four CDs   548 4 their number
//   612 20 model
//   215 125 applicability bits (the bytes of characteristic 2, entries 21 on)
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/export.h"

namespace pxall {

namespace area {
constexpr size_t kSize = 5051;
constexpr size_t kCtop = 0, kCtopSize = 3497;
constexpr size_t kCnext = 3497, kCnextSize = 78;
constexpr size_t kCnexta = 3575, kCnextaSize = 500;
constexpr size_t kCcar = 4075, kCcarSize = 632;
constexpr size_t kCimg = 4707, kCimgSize = 344;
}  // namespace area

namespace ctop {
constexpr size_t kMagic = 0;
constexpr size_t kDataLangCode = 4;
constexpr size_t kMenuLangCode = 7;
constexpr size_t kDataLangNo = 10;
constexpr size_t kMenuLangNo = 12;
constexpr size_t kSetupFlag = 14;
constexpr size_t kDriveCountGuard = 20;
constexpr size_t kDriveCount = 21;
constexpr size_t kDrives = 22;
constexpr int kMaxDrives = 10;
constexpr size_t kWorkDir = 42;
constexpr size_t kMasterDir = 106;
constexpr size_t kProgramDir = 170;
constexpr size_t kPriceDir = 234;
constexpr size_t kLocalPriceDir = 298;
constexpr size_t kDirSize = 64;
constexpr size_t kSetupTable = 426;
constexpr size_t kSetupEntrySize = 16;
constexpr int kMaxSetup = 30;
constexpr size_t kSetupCount = 906;
constexpr size_t kAreaIndex = 910;
constexpr size_t kAreaDrives = 914;
constexpr size_t kFrameWorldDir = 922;
constexpr size_t kFrameJapanDir = 986;
constexpr size_t kExportPrograms = 1050;
constexpr int kMaxExportPrograms = 8;
constexpr size_t kExportProgramSize = 256;
constexpr size_t kSaveEditor = 3098;
constexpr size_t kSaveEditorSize = 256;
constexpr size_t kCurrentSaveNo = 3355;
constexpr size_t kCurrentSaveFile = 3359;
constexpr size_t kMsgTableSlot = 3363;
constexpr size_t kMsgCount = 3367;
constexpr size_t kScrTableSlot = 3369;
constexpr size_t kScrCount = 3373;
}  // namespace ctop

namespace setup_entry {
constexpr size_t kName = 0;
constexpr size_t kCdNo = 2;
constexpr size_t kCdDate = 4;
constexpr size_t kFlags = 12;
constexpr size_t kPictureFlag = 14;
}  // namespace setup_entry

namespace cnext {
constexpr size_t kCount = 0;
constexpr size_t kIds = 4;
constexpr int kMaxIds = 64;
}  // namespace cnext

namespace cnexta {
constexpr size_t kFigureFlags = 0;
constexpr size_t kFigureCount = 4;
constexpr size_t kFigures = 6;
constexpr int kMaxFigures = 100;
constexpr size_t kGroupName = 406;
constexpr size_t kGroupCode = 466;
constexpr size_t kLocalFlag = 469;
constexpr size_t kSearchKey = 470;
}  // namespace cnexta

namespace ccar {
constexpr size_t kCatalog = 0;
constexpr size_t kSaveVehicle = 15;
constexpr size_t kFrameModel = 30;
constexpr size_t kFrameNo = 37;
constexpr size_t kProdDate = 44;
constexpr size_t kColorNo = 51;
constexpr size_t kTrimNo = 54;
constexpr size_t kNotes = 60;
constexpr size_t kCharact1a = 90;
constexpr size_t kCharact1b = 100;
constexpr size_t kCharact2 = 110;
constexpr size_t kApplicability = 215, kApplicabilitySize = 125;
constexpr size_t kVehicleName = 340;
constexpr size_t kCarNameBytes = 360;
constexpr size_t kProdFrom = 364;
constexpr size_t kProdTo = 368;
constexpr size_t kVinPrefix = 372;
constexpr size_t kNameSetupIndex = 382;
constexpr size_t kSetupIndex = 386;
constexpr size_t kStepIndex = 390;
constexpr size_t kStepCodes = 394;
constexpr size_t kListEndMode = 524;
constexpr size_t kSearchCds = 532;
constexpr size_t kSearchCdCount = 548;
constexpr size_t kModel = 612;
}  // namespace ccar

// Allocates and zeroes the area and writes "COMN": 0, or -1 out of memory.
PX_EXPORT int set_table();
// Frees the area; every accessor answers null afterwards.
PX_EXPORT void free_table();

PX_EXPORT unsigned char* get_ctop_addr();
PX_EXPORT unsigned char* get_cnext_addr();
PX_EXPORT unsigned char* get_cnexta_addr();
PX_EXPORT unsigned char* get_ccar_addr();
PX_EXPORT unsigned char* get_cimg_addr();

// Menu stack; each returns the stack's address (null without an area).
PX_EXPORT unsigned char* set_next_menu(int id);
PX_EXPORT unsigned char* set_back_menu();
PX_EXPORT unsigned char* set_main_menu();

// Little-endian field access at a byte offset of a block.
inline int32_t get_i32(const unsigned char* p) {
    return static_cast<int32_t>(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}
inline void put_i32(unsigned char* p, int32_t v) {
    uint32_t u = static_cast<uint32_t>(v);
    p[0] = u & 0xff; p[1] = (u >> 8) & 0xff; p[2] = (u >> 16) & 0xff; p[3] = (u >> 24) & 0xff;
}
inline int16_t get_i16(const unsigned char* p) { return static_cast<int16_t>(uint16_t(p[0]) | uint16_t(p[1]) << 8); }
inline void put_i16(unsigned char* p, int16_t v) {
    uint16_t u = static_cast<uint16_t>(v);
    p[0] = u & 0xff; p[1] = (u >> 8) & 0xff;
}

// The set-up table entry i of the shared state block, or null when the area
// is missing or i lies outside 0-29.
PX_EXPORT unsigned char* setup_entry_addr(int i);

// Sets bit n (0-31) of a 32-bit word, or clears it: 0, or -1 for n outside.
PX_EXPORT int b_setl(uint32_t* word, int n);
PX_EXPORT int b_resetl(uint32_t* word, int n);

}  // namespace pxall
