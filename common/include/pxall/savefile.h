// Saved lists: the save master that records which save numbers are free,
// used, in use or deleted, and one save data file per list, both in the
// master directory (layouts in savefile_layout.h). The current saved list
// (its number at 3355 of the shared state block, its open stream held here)
// is set and cleared by these operations.
//
// Nothing here writes the error log. `err` receives the C error number of a
// failed call, a detail number where stated, and 0 otherwise. Codes:
//   0 done, -1 no such file (or as stated), -2 access denied, 1 no save
//   number left, 11 open, 12 close, 13 write, 14 read (also a damaged
//   master), 15 seek, 16 delete, or the result of get_path_name.
//
// The master and data files are never changed in place: an update goes to a
// temporary twin that replaces the file when it is closed (atomic_write.h),
// so a failure on the way leaves the previous file whole.
#pragma once

#include <cstdint>
#include <cstdio>

#include "platform/export.h"
#include "pxall/savefile_layout.h"

namespace pxall {

// Details put into err when a name cannot be built.
constexpr int32_t kErrMasterName = 3001;
constexpr int32_t kErrDataOpenName = 1102;
constexpr int32_t kErrDataDelName = 1501;

// Full paths into an 80-byte buffer; the get_path_name result.
PX_EXPORT int make_save_mst_file_name(char* buf);
PX_EXPORT int make_save_dat_file_name(int32_t save_no, char* buf);
PX_EXPORT int make_pxintf_tmp_file_name(char* buf);
PX_EXPORT int make_intf_tmp_file_name(char* buf);

enum SaveOpenMode : int32_t { kSaveRead = 1, kSaveCreate = 2, kSaveUpdate = 3 };

// mode 1 read, 2 create (an empty master), 3 update. 0 with *fp; -1, -2,
// 11; the path result with err 3001. Streams of modes 2 and 3 are staged:
// close them with close_save_mst_file, which puts the new content in place.
PX_EXPORT int open_save_mst_file(int32_t mode, std::FILE** fp, int32_t* err);
// Closes *fp (committing a staged stream) and clears it; 0 also when none is
// open; 12 with the C error number.
PX_EXPORT int close_save_mst_file(std::FILE** fp, int32_t* err);
// Opens the master for reading and reads its count: 0 (the count, sign-
// extended, into *count when count is not null), -1, -2, 11, 14, 12.
PX_EXPORT int check_save_mst_file_exist(int32_t* count, int32_t* err);
// The count through check_save_mst_file_exist: -1 when it is 0, else 0, or
// that call's code.
PX_EXPORT int check_save_dat_file_exist(int32_t* count, int32_t* err);
// Creates the 32-byte start master when there is none (or it is too short
// to hold a count). 0; 13, or -1 when the disk is full; 12; an open code.
PX_EXPORT int make_save_mst(int32_t* err);
// Hands out the next free or deleted save number at or after the header's
// next number (wrapping at 9999) under whose name no data file stands (a
// list the master lost is never replaced), and marks it used with the date
// and time.
// 0 with *save_no; 1 (err 0) when every number is used or in use; 14, 13,
// 15, or an open code.
PX_EXPORT int get_save_no(int32_t* save_no, int32_t* err);
// Saves a new list: writes its save data file (size bytes: the 99-byte
// header and its records) under the number get_save_no would hand out, and
// only then marks that entry used, so that a crash never leaves a used entry
// without its file. 0 with *save_no; 1 no number left; 13 (err the C error
// number) when the file or the master could not be written (no entry is
// then marked, and the file is removed again); or an open code.
PX_EXPORT int save_new_list(const void* data, int32_t size, int32_t* save_no, int32_t* err);
// Marks a used or in-use entry deleted and lowers the count (never below 0);
// an entry already deleted or free is left as it is. The count into *count
// when not null. 0, 14, 15, 13, or an open code.
PX_EXPORT int deldata_save_mst_file(int32_t save_no, int32_t* count, int32_t* err);
// Deletes a saved list: its entry as deldata_save_mst_file, and its data
// file removed in the same commit (commit_files.h) once the new master
// stands, so an interruption leaves the list whole or deleted (a removal
// that failed is tried once more by the next reader of the master; a file
// that still stays is kept and logged at start-up, and its number is not
// handed out again). The master's result:
// 0, or a code of deldata_save_mst_file with nothing changed. Then
// *file_result: 0 removed; -1 there was none (err ENOENT); 16 it stayed
// (err), the entry deleted all the same; the path result with err 1501.
PX_EXPORT int delete_saved_list(int32_t save_no, int32_t* count, int32_t* file_result, int32_t* err);
// Turns the current saved list's entry from in use back to used and clears
// the current save number. 0 (also when none is current); the path result
// with err 3001; 11, 15, 14, 13.
PX_EXPORT int reset_save_mst_flag(int32_t* err);

enum SaveUpdateKind : int32_t { kSaveUpdateInPlace = 1, kSaveUpdateNew = 2 };

// Opens save data file save_no: mode 1 reads; modes 2 and 3 update it, kind
// 1 keeping its content ("r+b"), kind 2 starting empty ("w+b"); updates are
// staged until the close. With fp the stream goes there; without, it becomes
// the current saved list. 0; -1 no such file; -2 access denied; 11; the
// path result with err 1102.
PX_EXPORT int open_save_dat_file(int32_t save_no, int32_t update_kind, int32_t mode, std::FILE** fp, int32_t* err);
// Closes *fp, or with fp null the current saved list (whose number becomes
// 0). 0, or 12 with the C error number (a staged update is then dropped and
// the previous file stays).
PX_EXPORT int close_save_dat_file(std::FILE** fp, int32_t* err);
// One block of size bytes at the current position: 0, or 14 when short.
PX_EXPORT int read_save_dat_file(std::FILE* fp, void* buf, int32_t size, int32_t* err);
// 0, or 13 when short.
PX_EXPORT int write_save_dat_file(std::FILE* fp, const void* buf, int32_t size, int32_t* err);
// Seeks to offset from the start; the new position into *pos when not null.
// 0 or 15.
PX_EXPORT int seek_save_dat_file(std::FILE* fp, int32_t offset, int32_t* pos, int32_t* err);
// 0; -1 (err ENOENT) when the file does not exist; 16; the path result with
// err 1501.
PX_EXPORT int del_save_dat_file(int32_t save_no, int32_t* err);
// 0 when the current saved list's stream is an open file, else -1.
PX_EXPORT int check_save_dat_file_handle();
// The stream of the current saved list, or null.
PX_EXPORT std::FILE* current_save_dat_file();

// Fills the 99-byte vehicle header from the current-vehicle block; `number`
// goes into bytes 96-98 ("%03d", taken modulo 1000); the notes come from
// caller_header's bytes 66-95 when it is given. Every NUL becomes a blank.
PX_EXPORT void set_save_file_vdata(char* header, int32_t number, const char* caller_header);
// Kept for the callers that still call it; does nothing.
PX_EXPORT void set_vjin_file_data();

}  // namespace pxall
