// The environment file PXDROM.SYS: the installation's settings, read once at
// start-up into the shared state block (blocks.h).
//
// Text, one setting a line: KEY=value, no blanks around "=", lines of at most
// 255 characters with the line feed (kEnvLineMax without it). A longer line
// is taken as a defect: nothing of it is read, so a value is never cut.
// Keys are compared exactly, case included; an unknown key skips its line.
// A key given twice takes the later value. Limits below count the value with
// one line end, whether or not the last line carries one, so every field
// keeps its terminating NUL.
//
//   key       value                           check (code, place)      field
//   ECRAM     work directory                  length 64, path (3 457, 4 465)  kWorkDir
//   ECMST     master directory                length 64, path (5 478, 6 486)  kMasterDir
//   LANGUAGE  language word                   word (7 509)                   kDataLang*
//   MENULANG  language word                   word (8 534)                   kMenuLang*
//   CDROM     drives "D:,E:"                  unusable drives dropped        kDrives, kDriveCount
//   ECFIL     program-file directory          length 64, path (9 568, 10 576) kProgramDir
//   PRICE     drive "D:"                      at most 3, letter + ":" (11 593) kPriceDir
//   LOCALP    drive "D:"                      as PRICE (12 609)              kLocalPriceDir
//   CRNTAREA  EU, GR, US, JP                  length 3 (13 620)              kAreaIndex
//   ECMSTALL  "EU:C,GR:D,US:C,JP:E"           none                           kAreaDrives
//   FRAMEWLD  world frame-number directory    length 64 (16 645)             kFrameWorldDir
//   FRAMEJPN  Japan frame-number directory    length 64 (17 656)             kFrameJapanDir
//   EXPPPNHO  up to 8 programs, comma list    none; items past 8 dropped     kExportPrograms
//   EXPPFSAD  one program                     length 256 (14 683)            kSaveEditor
//
// Path, language, PRICE/LOCALP, frame and EXPPFSAD values are stored in upper
// case (ASCII only). Language words, number n = position: ENGLISH, JAPANESE,
// FRENCH, GERMANY, SPANISH, " ", " ", " ", OTHER; a value that begins with a
// word matches it; the code is "0" and the digit n.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/export.h"

namespace pxall {

constexpr const char* kEnvFileName = "pxdrom.sys";
// A line with its line feed and NUL.
constexpr int kEnvLineSize = 256;
// The longest line the reader takes, without its line end (a carriage
// return and line feed count as the one line feed).
constexpr size_t kEnvLineMax = kEnvLineSize - 2;

// Whether the reader takes a line (given without its line end) whole: a
// writer checks a line it makes against this before it writes the file.
constexpr bool env_line_fits(std::string_view line) { return line.size() <= kEnvLineMax; }

// Reads the environment file of the current directory into the shared state
// block. Each defect writes one error-log line ("PXDROM", "kankyo_set") and
// ends the reading; settings read before it stay. At the end of the file the
// installed data sets are scanned. Always 0: start-up goes on regardless.
PX_EXPORT int kankyo_set();

}  // namespace pxall
