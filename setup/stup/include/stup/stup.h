// PXSTUP, the set-up library: installs catalogue data sets from the
// catalogue CDs (or records a client installation), writes the selection
// files the catalogue set-up screen edits, reports what a drive holds, and
// names and reloads the screen file of the menu language.
//
// Entries bound by the program (undecorated names). Strings are the
// program's fixed-length strings, filled up to their byte count.
#pragma once

#include <cstdint>

#include "platform/export.h"
#include "pxall/vbstring.h"

extern "C" {

// Installs what CATALOG.TMP and FRAME.TMP (work directory) select, then
// rewrites the environment file. 0; 4 the clerk cancelled a CD request (the
// data sets finished before it are recorded); 871 not enough free space;
// 884 the disk filled up while a master file was written; 128 a CD code
// without a data set directory (B8, B9); -1 a directory that cannot be
// made, a CD box that cannot be shown or free space that cannot be read;
// 11-20 a file failure (logged).
PX_EXPORT int32_t stup_main_proc();
// Records the data sets that the selection files mark, already present on
// their drives, in the environment file: 0, or 11, 13, 14.
PX_EXPORT int32_t stup_set_client();

// Writes CATALOG.TMP and FRAME.TMP from the installed state and returns
// their paths. client 1: every block with installed data sets is marked
// selected. 0, 11, 13, or 81 when the last CD drive's label failed.
PX_EXPORT int32_t stup_make_tmpfile(VbString* catalog_path, VbString* frame_path, int16_t client);
// Number and name of the installed catalogue data's language: 0; 1 no
// current area; 2 no catalogue data set.
PX_EXPORT int32_t VBGet_Latest_Lang(int16_t* language, VbString* name);
// 1 when QEL.CHK is in the work directory (a client installation), else 0.
PX_EXPORT int32_t stup_client_check();
// type 0-3 area E, G, U, J; 4 world frame numbers; other Japan frame
// numbers. 0 when the drive holds a data set of that kind, else 1.
PX_EXPORT int32_t ClientDriveCheck(int16_t type, const char* drive);
// Describes the data sets of a kind on a drive in DRVINFO.TMP, path into
// info_path: 0; 1 none there; 11, 12, 14.
PX_EXPORT int16_t GetSetupedDriveInfo(int16_t type, const char* drive, VbString* info_path);

// The screen file of the menu language (current directory) and the screen
// editor's work file SCREEN.TMP (work directory). The second string's size.
PX_EXPORT int32_t Screen_FilePath(VbString* screen_path, VbString* work_path);
// Reloads the screen texts when a menu language is set: set_scr's result,
// else 0.
PX_EXPORT int32_t Reload_ScreenFile();

// 1 when PRICE.MST of the price directory opens, else 0.
PX_EXPORT int16_t Check_Setuped_Price();
// One pass of the price set-up: the source (fixed records "PRICE" or
// "PRICE3", or PRICEnnn.CSV / PRIC3nnn.CSV), price_kind 1 KAKAKU, other
// PRICE3, append 0 first piece, other a further piece. 0; 1 a further
// piece that does not continue the stored records; 21 disk full; 848 no
// data, a record not whole or not printable, out of order, or too many; -1,
// 11, 13, 20, 128 after an error-log line. Anything but 0 leaves the prices
// in force, except 13 after the first of the new files was put in place:
// the next reader of the price files finishes putting them in place.
PX_EXPORT int32_t stup_kakaku_setup(const VbString* source, int16_t price_kind, int16_t append);

// Local parts. type 0 fixed 44-byte records and 1 CSV of 5 fields (set 1),
// 2 CSV of 6 fields (set 2), 3 CSV of 9 fields (set 3). Call in this order
// for one set: check, then (the set exists) initialise, then set up.
// 1 when the set's data file is in the local-price directory, else 0.
PX_EXPORT int32_t Check_Setuped_Localp(int16_t type);
// flag 0: the set's records are merged with the new ones; other: the set
// is replaced. Nothing is touched until Setup_Localp has built the new set.
PX_EXPORT void Init_Setuped_Localp(int16_t flag, int16_t type);
// Converts, sorts and (when asked) merges the source with the set in force
// and puts the new data and index in place together: 0; -1 the directory
// cannot be made; 848 a record of the source not whole or not printable;
// 11, 13, 14, 20 (logged). A set of more than 65,535 records is refused with
// 849 (its index cannot number them; the message the screen shows, logged
// too). Anything but 0 leaves the set in force as it was (but for 13 after
// its data were put in place: the next reader finishes the index).
PX_EXPORT int16_t Setup_Localp(int16_t type, const char* source);
// Lists the picture of each catalogue figure of set 3 ("  NAME.BMP") in the
// list box of the handle: 0, 11, 14, 15.
PX_EXPORT int32_t Localp3_SetImageFile(int32_t list);
// Copies each listed picture that the file list holds (names compared
// without regard to case) from source_dir into the local-price directory
// and marks its line with '*'. Names that are not plain 8.3 names are
// left alone.
PX_EXPORT void Localp3_CopyImageFile(int32_t pictures, int32_t files, const char* source_dir);

}
