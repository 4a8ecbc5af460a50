// The vehicle-information hit file JOUHOU.TMP of the work directory and its
// narrowing (layout in vehicle_work_layout.h). The vehicle-identification
// library writes the file and narrows it step by step; the catalogue-list
// library reads the records left unmarked. Nothing here logs: results and
// the C error number (or a detail number) tell what failed.
#pragma once

#include <cstdint>
#include <cstdio>

#include "platform/export.h"

namespace pxall {

// Open modes of v_open_jouhou_tmp.
enum JouhouMode : int {
    kJouhouRead = 1,   // "rb"
    kJouhouWrite = 2,  // "wb"
    kJouhouUpdate = 3  // "r+b"
};

// The production range of a vehicle record, of JOUHOU.DAT or of JOUHOU.TMP
// (the two share their first 181 bytes): from its date from to its date to,
// else to the second date to (the catalogue's end), else open. The one rule
// for every list that shows a range and every check against one.
// yymm (4 bytes) receives the end that applies, blanks when open.
PX_EXPORT void v_production_end(const unsigned char* rec, char* yymm);
// True when the date "CCYYMM" lies within the record's range.
PX_EXPORT bool v_in_production(const unsigned char* rec, const char* ccyymm);

// buf (80 bytes): the full path of JOUHOU.TMP in the work directory; the
// result of get_path_name.
PX_EXPORT int v_make_jouhou_tmp_name(char* buf);

// Closes the stream *fp holds (if any), then opens the file in a mode above.
// count, when not null, receives the number of 191-byte records. 0; 11 with
// the C error number in err; 12 when closing the old stream failed; the
// path result (err 0); 128 for another mode (err the mode).
PX_EXPORT int v_open_jouhou_tmp(int mode, std::FILE** fp, int32_t* count, int32_t* err);
// Closes *fp and clears it: 0 (also with nothing open), or 12 with the C
// error number in err.
PX_EXPORT int v_close_jouhou_tmp(std::FILE** fp, int32_t* err);

// One narrowing step. Every record still in the list is tested against the
// caller's values for each flag bit set (kTest... of vehicle_work_layout.h):
// vin (its 8- or 9-character prefix), six (6), fifteen (15), text (125),
// date (6 characters "CCYYMM", within the record's production range), num1,
// num2; a value whose bit is clear is not read and may be null. When a record
// matched, every record that did not is marked with the letter of the
// current step.
// 0 something matched; 1 nothing did (nothing marked); otherwise a code with
// the failing step in *detail:
//   -1 path (detail 11); 11 open (detail the C error number); 20 no memory
//   for the hit bytes (detail their count); 14 first read (12); 15/14/15/13
//   the marking pass' seek, read, seek, write (13, 14, 15, 16); 12 close
//   (17); 128 a set test without its value (detail the flag bit) or a step
//   code of the current-vehicle block outside the letters (detail the code,
//   or -1 for a step index outside the block or no shared area).
PX_EXPORT int v_jtmp_sign(int32_t flags, int32_t num1, int32_t num2, const char* vin, const char* six,
                          const char* fifteen, const char* text, const char* date, int32_t* detail);

}  // namespace pxall
