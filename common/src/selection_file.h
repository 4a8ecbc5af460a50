// The fixed 20000-byte image shared by SELECT.TMP and LCPSEL.TMP: plain
// reads and writes that log nothing, and the logged moves between an image
// file and an item list.
#pragma once

#include <cstdint>

#include "pxall/itemlist.h"

namespace pxall::selimpl {

// Reads the image of the work file `name` into buf (kImageSize bytes; what a
// short file does not hold is zeroed). 0, the path result, 11, 14.
int read_image(const char* name, unsigned char* buf, int32_t* err);
// Creates or truncates the work file and writes the kImageSize bytes of buf.
// 0, the path result, 11, 13.
int write_image(const char* name, const unsigned char* buf, int32_t* err);

// Where a list move logs its failures; `place` is the first place number of
// the call sites, each step adds its own offset.
struct LogSite {
    const char* module;
    const char* function;
    int32_t place;
};

// Fills one record from one item.
using FillRecord = void (*)(unsigned char* record, const ItemLinks* item);
// Appends one item made from one record; false when out of memory.
using AddRecord = bool (*)(ItemList* list, const unsigned char* record);

// Writes the list as the image (at most kRecords records; the list stays).
int write_list(const char* name, const ItemList* list, FillRecord fill, const LogSite& site);
// Appends the image's records up to the first empty one; the items already
// appended stay when a later one fails.
int read_list(const char* name, ItemList* list, AddRecord add, const LogSite& site);
// Writes an all-zero image through `write` (the plain writer of the file);
// logs "malloc" or `write_step` on failure.
int clear_image(int (*write)(const unsigned char*, int32_t*), const char* write_step, const LogSite& site);

}  // namespace pxall::selimpl
