// The three process-wide pick lists that carry what the clerk chose from one
// screen to the next, and the work files that carry two of them onward
// (layouts in selection_layout.h):
//   - the selection list (parts and part-name codes), at most 1000 items,
//     file SELECT.TMP;
//   - the selected-figure list, at most 100 items, kept in the next-screen
//     block (count at 4, 100 four-byte figure numbers from 6);
//   - the local-price selection list, at most 1000 items, file LCPSEL.TMP.
//
// Each list is an item list (itemlist.h) held by the library from load to
// process end; other libraries walk them from the head that GetPtrSelTmp,
// get_selfgn and GetPtrLcpTmp return, reading the item structs below.
//
// Codes: 0 done, 1 list full, 11 open, 13 write, 14 read, 20 out of memory,
// or the result of get_path_name. The plain file operations log nothing and
// put the C error number into `err`; the others log their failures.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/export.h"
#include "pxall/itemlist.h"
#include "pxall/selection_layout.h"

namespace pxall {

constexpr int kMaxSelTmp = 1000;
constexpr int kMaxSelFgn = 100;
constexpr int kMaxLcpTmp = 1000;

// Selection item.
struct SelTmpItem {
    ItemLinks links;
    uint16_t kind;  // 1 part number, 0 part-name code
    char code[12];  // part number, or part-name code + 6 blanks
    char qty[2];    // as the caller gave them ("01".."99")
};

// Selected-figure item.
struct SelFgnItem {
    ItemLinks links;
    char figure[4];  // compared as one 4-byte value
};

// Local-price selection item.
struct LcpTmpItem {
    ItemLinks links;
    uint16_t kind;  // always 1
    char figure[4];
    char part[12];  // blank-padded
    char qty[2];
};

static_assert(offsetof(SelTmpItem, kind) == kItemDataOffset);
static_assert(offsetof(SelTmpItem, code) == kItemDataOffset + 2);
static_assert(offsetof(SelTmpItem, qty) == kItemDataOffset + 14);
static_assert(offsetof(SelFgnItem, figure) == kItemDataOffset);
static_assert(offsetof(LcpTmpItem, figure) == kItemDataOffset + 2);
static_assert(offsetof(LcpTmpItem, part) == kItemDataOffset + 6);
static_assert(offsetof(LcpTmpItem, qty) == kItemDataOffset + 18);

// --- Selection list and SELECT.TMP -----------------------------------------
// Sets the head empty without freeing (the framing caller owns the items).
PX_EXPORT int InitSelTmp();
PX_EXPORT void TermSelTmp();
PX_EXPORT ItemList* GetPtrSelTmp();
// code: 12 characters; a non-blank seventh character makes it a part number
// (kind 1, all 12 kept), else a part-name code (kind 0, first 6 + 6 blanks).
// qty: 2 bytes. 0, 1 when the list holds 1000 items, 20 out of memory.
PX_EXPORT int SetSelTmp(const char* code, const char* qty);
// First item whose 12-byte code equals code byte for byte, or null.
PX_EXPORT SelTmpItem* SearchSelTmp(const char* code);
PX_EXPORT void DelSelTmp(const char* code);
// buf: kSelectImage bytes. Reads SELECT.TMP into it (a short file leaves the
// rest zero). 0, path result, 11, 14.
PX_EXPORT int read_select_tmp(unsigned char* buf, int32_t* err);
// Writes the kSelectImage bytes of buf as SELECT.TMP. 0, path result, 11, 13.
PX_EXPORT int write_select_tmp(const unsigned char* buf, int32_t* err);
// Writes an empty SELECT.TMP; write_select_tmp's result, or 20.
PX_EXPORT int clear_select_tmp();

// --- Selected-figure list ----------------------------------------------------
PX_EXPORT int init_selfgn();
PX_EXPORT void term_selfgn();
PX_EXPORT ItemList* get_selfgn();
PX_EXPORT int16_t get_num_selfgn();
// figure: 4 bytes. Duplicates are kept. 0, 1 when 100 are held, 20.
PX_EXPORT int set_selfgn(const char* figure);
PX_EXPORT SelFgnItem* search_selfgn(const char* figure);
PX_EXPORT void del_selfgn(const char* figure);

// --- Local-price selection list and LCPSEL.TMP -------------------------------
PX_EXPORT int InitLcpTmp();
PX_EXPORT void TermLcpTmp();
PX_EXPORT ItemList* GetPtrLcpTmp();
// part: 12 characters, qty: 2, figure: 4. 0, 1 when 1000 are held, 20.
PX_EXPORT int SetLcpTmp(const char* part, const char* qty, const char* figure);
PX_EXPORT LcpTmpItem* SearchLcpTmp(const char* figure, const char* part);
PX_EXPORT void DelLcpTmp(const char* figure, const char* part);
PX_EXPORT int read_lcpsel_tmp(unsigned char* buf, int32_t* err);
PX_EXPORT int write_lcpsel_tmp(const unsigned char* buf, int32_t* err);
PX_EXPORT int clear_lcpsel_tmp();

constexpr size_t kSelectImage = selfile::kImageSize;

}  // namespace pxall

extern "C" {
// Entries of the program.
PX_EXPORT int32_t VBClearSelTmp();
PX_EXPORT int16_t VBGetNumSelTmp();
PX_EXPORT int32_t VBClearSelectTmp();
// Writes the list as SELECT.TMP (at most 1000 records); the list stays.
PX_EXPORT int32_t VBWriteSelectTmp();
// Appends the records of SELECT.TMP to the list.
PX_EXPORT int32_t VBReadSelectTmp();

PX_EXPORT int32_t VBset_selfgn(const char* figure);
PX_EXPORT int32_t VBdel_selfgn(const char* figure);
// 1 when the figure is in the list, else 0.
PX_EXPORT int32_t VBcheck_selfgn(const char* figure);
// Appends the next-screen block's figures to the list: 0 or 20.
PX_EXPORT int32_t VBread_figno();
// Writes the list (at most 100) into the next-screen block; the count
// written into *count. 0.
PX_EXPORT int32_t VBwrite_figno(int16_t* count);
// Empties the block's figures and frees the list. 0.
PX_EXPORT int32_t VBclear_figno();

PX_EXPORT int32_t VBClearLcpTmp();
PX_EXPORT int16_t VBGetNumLcpTmp();
PX_EXPORT int32_t VBClearLcpselTmp();
PX_EXPORT int32_t VBWriteLcpselTmp();
PX_EXPORT int32_t VBReadLcpselTmp();
}
