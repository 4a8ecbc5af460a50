// Catalogue CDs: finding the wanted CD in the CD drives (asking the clerk to
// insert it), relating CDs to the installed data sets of the set-up table,
// single names from the language files, one catalogue file read across the
// installed CDs, the CD-number table of a CD, and the frame-number files.
//
// A CD is known by the first 10 characters of its volume label: the CD id
// (area letter E, G, U or J; a digit for a catalogue CD) and the 8-character
// date, compared as a string. Error-log source: "PXSUBC30".
#pragma once

#include <cstdint>

#include "platform/export.h"
#include "pxall/keyed_file.h"

namespace pxall {

constexpr int kCdIdentSize = 10;
// The identity table of cdread_head_alldrive: the drives, then installed
// data sets, never more than this.
constexpr int kCdIdentTableSize = 11;
constexpr int kCdNoEntrySize = 4;
constexpr int kCdNoMax = 10;

namespace cdd {
constexpr int kSetNoCdId = 2001;
constexpr int kSetNoDataSet = 2002;
constexpr int kSetBadDrive = 2003;  // a drive index outside the drive list
constexpr int kFileNoLength = 2102;
constexpr int kFilePath = 2104;
constexpr int kCursorArgument = 3101;
constexpr int kCursorMemory = 3102;
constexpr int kCdNoMemory = 3201, kCdNoMemory2 = 3202;
constexpr int kCdNoTooMany = 3203;
}  // namespace cdd

// The identity of CD drive n into 10 bytes (NUL-padded): 0; 80 not ready
// (*syserr 21); 81 another failure; 128 for an index outside the drive list.
PX_EXPORT int cdread_head(int drive, char* ident, int* syserr);
// Identities of every drive, then of the installed full-copy data sets of the
// current area with the wanted area letter (id at header 22, date at 0), into
// kCdIdentTableSize x 10 bytes, unused entries zero: 0, 11, 14 or 81.
PX_EXPORT int cdread_head_alldrive(char* table, char area_letter, int* detail);
// The set-up entries of the current area whose name and CD date are those of
// a CD present (or a full copy): indexes into list (room for 30), *count.
PX_EXPORT int cdmake_cdidtbl_alldrive(int32_t* list, int32_t* count, int* detail);
// Finds the CD (drive n or -1 for all drives); asks for it while it is
// missing. 0 with its drive, id and date; 4 when the clerk gives up; 128 with
// 2001 (no CD id), 2002 (no installed data set for "********"), 2003.
PX_EXPORT int cdset_cd(int drive, const char* cd_id, const char* cd_no, const char* cd_date, int* found_drive,
                       char* found_id, char* found_date, int option, int* detail);
// The message number of the CD request for an option.
PX_EXPORT int cdmsgid(int option);
// The length in blocks (rounded up) of a file on CD drive n, at its root or
// in the catalogue's directory: 0; -1 missing; 11 a name that is no regular
// file (a FIFO, a device: detail the C error number); 128 otherwise.
PX_EXPORT int cdfile_get(const char* name, const char* catalog, int drive, int* detail, int32_t* blocks);

// One figure name (60 bytes) of the current vehicle's catalogue: 0, -1 when
// none matches, or the failing code (logged).
PX_EXPORT int get_figmei(const char* figure, char* name, int* detail);
// One part name (60 bytes). *flag in: 0 the vehicle's data set, else the first
// of the current area; out: 0 found, 1 not found (name blank), 4 CD missing.
PX_EXPORT int get_hinmei(const char* pnc, char* name, int16_t* flag);

struct CdCursor;
// One catalogue file read across set-up entries (the list, or all); mode -1
// frees the cursor, 0-1 give the first record found, 2 and above one record
// a call. 0, -1 after the last, or the failing code.
PX_EXPORT int cdget_some_cd_data(const char* name, const char* catalog, int key_set, int mode, int drive,
                                 const int32_t* list, int list_len, void* buf, const char* key, int key_len,
                                 int blocks, int32_t* blocks_read, int32_t* position, int option, CdCursor** cursor,
                                 int* detail);
// The CD-number table of the CD: 4-byte entries (id letter, running digit,
// CD-number field), allocated with malloc for the caller.
PX_EXPORT int cdmake_cdno_table(int drive, const char* cd_id, const char* cd_no, const char* cd_date,
                                uint8_t** table, int32_t* count, int option, int* detail);
// A frame-number file through PXFRNOMF.MST of set-up entry setup_index.
PX_EXPORT int fcdopen(const char* name, int key_set, int read_mode, int drive, int setup_index, int option,
                      CdHandle** out, int* detail);

// Set-up table look-ups; -1 when nothing matches.
PX_EXPORT int setuped_cdno1_to_cdno2(const char* name, char* cd_no);
PX_EXPORT int setuped_cdno2_to_cdno1(char area, char* name, const char* cd_no);
PX_EXPORT int setuped_top_cdno(char area);
PX_EXPORT int setuped_top_fcdno(char area);
PX_EXPORT int make_setuped_top_cdid_table(int32_t* index, int32_t* found);

}  // namespace pxall
