// Shared by the group sources: the work table and the field helpers.
#pragma once

#include <cstddef>
#include <string>

#include "pxall/groups.h"
#include "pxall/itemlist.h"

namespace pxall::grp {

constexpr const char* kModuleFiles = "PXSUBG01";
constexpr const char* kModuleTable = "PXSUBG02";

// The library's group work table.
ItemList& table();

// Copies a NUL-terminated string (null = empty) into a field of `width`
// bytes, at most `width` taken, blank-padded.
void pad_field(char* field, const char* text, size_t width);

// The data of the table item whose code equals the padded code, or null.
unsigned char* find(const char* code);

// A slot is free when its first character is blank or NUL.
inline bool slot_free(const unsigned char* slot) { return slot[0] == ' ' || slot[0] == 0; }
inline unsigned char* slot_at(unsigned char* group, int i) {
    return group + grpitem::kSlots + static_cast<size_t>(i) * 6;
}

// The list-box lines.
std::string group_line(const unsigned char* group);
std::string pnc_line(const char* pnc6, const char* name60);

}  // namespace pxall::grp
