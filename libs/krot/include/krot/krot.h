// The search-route library: the route checks of the search-route screen
// (figure number, part-name code, part number, figure groups), the keyword
// search, the part-name-code entry list with its wildcard pick list, and the
// user part-group route. What the next screen needs goes into the
// next-screen block (blocks.h), SELECT.TMP (selection.h) and the two result
// files (search_route_layout.h).
//
// Results are 32-bit: 0, or a failing code after one error-log line
// (modules "PXKGRL01" groups, "PXKKWD01" keyword, "PXKPNC01" part-name-code
// entry, "PXKROT01" route checks): 11 a file not created, 13 not written, 20
// out of memory, otherwise the catalogue-file or list code. Out values are
// 16-bit; a missing catalogue CD is the out value 4, never a failure, where
// one is listed. Strings the library only reads are NUL-terminated; strings
// it fills are the caller's fixed-length strings.
#pragma once

#include <cstdint>

#include "platform/export.h"
#include "pxall/vbstring.h"

namespace pxkrot {
// Out values.
constexpr int16_t kNotFound = 1;
constexpr int16_t kCdMissing = 4;
// The entry check's answers.
constexpr int32_t kPncOk = 0;
constexpr int32_t kPncBadChar = 1;
constexpr int32_t kPncWildShort = 2;
constexpr int32_t kPncShort = 3;
}  // namespace pxkrot

extern "C" {

// --- User part groups -------------------------------------------------------
// Stores the code's first 3 characters, blank-padded, as the group code.
PX_EXPORT int32_t VBKgrlSetGroupCode(const char* code);
// Rebuilds the group files and reads them into the group work table (afresh).
// *status: 1 no group at all; 2 the stored code is no group ("***" is taken
// without a look-up). A known code puts its name into the block.
PX_EXPORT int32_t VBKgrlLoad(int16_t* status);
// The selected line's group code and name into the block; *status 1 when no
// line is selected.
PX_EXPORT int32_t VBKgrlSelectGroup(int32_t list, int16_t* status);
// The stored group code (3) and name (60) into the caller's strings.
PX_EXPORT int32_t VBKgrpGetGroup(VbString* code, VbString* name);

// --- Keyword ----------------------------------------------------------------
// Writes KKWDPNC.TMP: a line for every part-name code of the vehicle's
// catalogue whose part name contains the keyword (its first 20 characters
// without trailing blanks; blank matches every named code). The hit count
// and the file's path go to the caller; *status 4 when the CD is missing.
PX_EXPORT int32_t VBKkwdLoad(const char* keyword, int16_t* count, VbString* path, int16_t* status);
// The selected keyword lines become the figure list (each figure once) and
// SELECT.TMP (each code once, quantity "01"). *status 1 figure list full, 2
// selection full: nothing is written then.
PX_EXPORT int32_t VBKkwdWriteSelectTmp(int32_t list, int16_t* status);

// --- Part-name-code entry ---------------------------------------------------
// Checks an entered code: kPncOk, kPncBadChar, kPncWildShort (a "*" after
// fewer than 3 characters), kPncShort (fewer than 5 without "*").
// *wildcard 1 when the entry holds a "*".
PX_EXPORT int32_t VBKpncCheckPnc(const char* entry, int16_t* wildcard);
// Writes PNCPOP.TMP: the codes that begin with the entry's prefix (up to its
// "*" or blank, at most 6) with their part names. *status 2 prefix shorter
// than 3, 4 CD missing.
PX_EXPORT int32_t VBKpncMakePncLst(const char* entry, int16_t* count, VbString* path, int16_t* status);
// Every entry-list line into SELECT.TMP; *status 1 when the selection is full.
PX_EXPORT int32_t VBKpncWriteSelectTmp(int32_t list, int16_t* status);
// *index -1 adds a line for the code and quantity (*index 1: the list holds
// 1000 lines; 4: the CD is missing, the line comes without a name); another
// index replaces that line's code, name and quantity (4 again without the
// CD). *index 0 when done.
PX_EXPORT int32_t VBKpncAddRepPnc(int32_t list, const char* pnc, const char* qty, int16_t* index);
// Deletes the selected lines and numbers the lines after them anew.
PX_EXPORT int32_t VBKpncDelPnc(int32_t list);

// --- Route checks -----------------------------------------------------------
// The four figure-group flags of the block: all zero, or flag n (0-3) set to
// the character "1" + n (another n changes nothing and gives 128).
PX_EXPORT int32_t VBKrotClearFigGrp();
PX_EXPORT int32_t VBKrotSetFigGrp(int16_t n);
// Each reads one record of the vehicle's catalogue by its key. Found: the
// figure becomes the one-entry figure list of the block (and goes into
// `figure`); the code checks also write SELECT.TMP with the one part-name
// code. *status 1 not found (nothing changed), 4 CD missing.
PX_EXPORT int32_t VBKrotCheckPnc(const char* pnc, VbString* figure, int16_t* status);
PX_EXPORT int32_t VBKrotCheckPn(const char* part_no, VbString* figure, int16_t* status);
PX_EXPORT int32_t VBKrotCheckFigNo(const char* figure, int16_t* status);

}
