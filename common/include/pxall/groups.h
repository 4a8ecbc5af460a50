// User part groups: a 3-character group code with a 60-character name and up
// to 100 part-name codes, at most 1000 groups. They are kept in the two group
// files of the master directory (group_layout.h) and edited in the library's
// group work table, which the group screens fill, change and write back.
//
// Work-table item, the caller's part of an item list entry (itemlist.h):
//     0   3  group code, blank-padded
//     3   1  not used
//     4  60  group name, blank-padded
//    64 600  100 part-name-code slots of 6 characters; a slot whose first
//            character is blank (or NUL, as in a zero-filled record) is free,
//            and used slots stand before free ones
//
// List-box lines: a group line is 2 blanks, the code, 5 blanks and the name
// (70 characters); a part-name line is the 6-character part-name code, 2
// blanks and the 60-character part name (68 characters).
//
// Group codes, part-name codes and names arrive as NUL-terminated strings;
// at most the field's width is taken and the rest is blank-padded.
//
// Result codes: 0 done, 11 open failed, 13 write failed, 14 read failed or a
// damaged file, 15 seek failed, 20 out of memory, -1 a path that cannot be
// built; each failure is written to the error log first.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/export.h"
#include "pxall/vbstring.h"

namespace pxall {

namespace grpitem {
constexpr size_t kCode = 0;
constexpr size_t kName = 4;
constexpr size_t kSlots = 64;
constexpr size_t kSize = 664;
}  // namespace grpitem

constexpr int kGroupLineLen = 70;
constexpr int kGroupPncLineLen = 68;
// One part-name record of the catalogue: the code and the 60-character name.
constexpr int kPartNameRecordLen = 66;

// The work-table item of a group (its data, laid out as above), or null.
PX_EXPORT unsigned char* search_grptmp(const char* code);

// Looks at the group name file: -1 when it cannot be opened or its first 4
// bytes cannot be read, 1 when those 4 bytes are zero (no groups), else 0.
// A path that cannot be built is logged and its result (-1) returned.
PX_EXPORT int g_mei_f_check();

// Finds a group in the group name file. The group's index (its slot - 1,
// 0-999) with its 60-byte name copied into `name`; -1 when the group is not
// there or the lookup failed. `failure` (may be null) receives 0, or the
// logged failure: 11, 14 (also for a damaged count), 20, or the path result.
PX_EXPORT int g_mei_f_read(const char* code, char* name, int32_t* failure);

// Reads a group's part names from the group files into `table` (100 entries
// of kPartNameRecordLen bytes), entry i for the group's slot i; the entry of
// a code missing from the catalogue is left as it was. 0; -1 when the group
// is not in the file or has no codes; a failure of the lookup unchanged; or
// the logged code of a failing step.
PX_EXPORT int g_pnc_f_read(const char* code, char* table);

// VBRemakeGpFile's result when a damaged group file was set aside and made anew.
constexpr int32_t kRemadeDamaged = 2;

}  // namespace pxall

extern "C" {

// The work table, empty without freeing what it held: 0.
PX_EXPORT int32_t VBInitGrpTmp();
// Frees every item; the table is empty.
PX_EXPORT int32_t VBTermGrpTmp();
// Number of groups in the work table.
PX_EXPORT int16_t VBGetGrpNum();

// Appends the groups of both files to the work table (which is not emptied
// first) and gives the files' group count. A failure takes back what this
// call appended. 0, 11, 14, 20 (also when the table would pass 1000 groups)
// or the path result.
PX_EXPORT int32_t VBread_group_file(int16_t* count);
// Writes the work table to both files. Each file is written whole to a
// temporary file and put in place only when both are complete, so a failure
// leaves the previous groups as they were. 0, 11, 13, 20 or the path result.
PX_EXPORT int32_t VBwrite_group_file();
// With at least 1 MB free on the master directory's drive, makes missing or
// short group files anew (zero-filled); a short (damaged) file is first set
// aside whole as PXGRPMEI.BAD or PXGRPPNC.BAD and logged, and is kept when
// that fails (13). 0, kRemadeDamaged when a damaged file was set aside and
// made anew (the clerk must be told), or the first failure's code; 0
// without doing anything when less is free; -1 when the free space cannot
// be asked.
PX_EXPORT int32_t VBRemakeGpFile();

// Adds one group line per group, in table order: 0.
PX_EXPORT int32_t VBMakeListGrpMei(int32_t hwnd);
// Adds one part-name line per code of the group. The part names come from
// the current vehicle's data set when *flag is 0, else from the first
// installed data set of the current area. *flag becomes 0, or 1 when the
// group is unknown. 0 or the logged code.
PX_EXPORT int32_t VBMakeListGrpPnc(const char* code, int32_t hwnd, int16_t* flag);
// The group's name into the caller's string (at most its length, at most
// 60 bytes): 1, or 0 for an unknown group.
PX_EXPORT int32_t VBGetGrpName(const char* code, VbString* name);
// Stores a known group's name, or appends a new group with the name and 100
// free slots: 0; 1 when the table holds 1000 groups; 20 out of memory.
PX_EXPORT int32_t VBSetGrpCd(const char* code, const char* name);
// Removes the group from the table: 0, also for an unknown group.
PX_EXPORT int32_t VBDelGrpCd(const char* code);
// 1 when the group is in the table, else 0.
PX_EXPORT int32_t VBCheckGrpCd(const char* code);
// Puts a part-name code into a slot of the group and shows its line. *index
// -1 takes the first free slot and adds the line at the end; an index 0-99
// takes that slot and replaces the list line at that index. *index becomes 0
// when the code was stored; 65535 when no slot is free or the index lies
// outside -1..99; 1 (code not in the catalogue) or 4 (catalogue CD missing)
// as the part-name lookup reports, with nothing stored. An unknown group does
// nothing. 0, or the logged failure of the part-name lookup.
PX_EXPORT int32_t VBSetGrpPnc(int32_t hwnd, const char* code, const char* pnc, int16_t* index);
// Removes every selected line and its code from the group; the codes after
// it move up and the last slot becomes free. 0, or 20 out of memory.
PX_EXPORT int32_t VBDelGrpPnc(int32_t hwnd, const char* code);

}
