// Pieces shared by the price inquiry's entries.
#pragma once

#include <cstdint>

#include "pxall/price_file.h"

namespace pxdprc {

constexpr const char* kModule = "PXDPRC01";

// The full path of PXDPRC1.TMP into an 80-byte buffer: the get_path_name
// result.
int work_path(char* buf);

// Opens the price file of a price kind: kind 0 tries KAKAKU first, the
// others open only PRICE3. The kakaku_open result.
inline int open_price(int32_t kind, pxall::CdHandle** h, int* detail) {
    return pxall::kakaku_open(kind != 0 ? 1 : 0, h, detail);
}

// The price entry of a 12-character part number, read afresh: 0 found, -1
// not found, or the failing code with the step ("kakaku_reopen" or
// "kakaku_read") in *step.
int read_price(pxall::CdHandle* h, const char* part12, int32_t kind, char* entry, int* detail, const char** step);

// The work file's record for a part number: from the price entry when found
// is set, else the part number asked for and '@' fill. `line` is the record's
// position from 1.
void make_record(char* out, int32_t line, const char* part12, const char* entry, bool found);

// Blanks the leading zeros, commas and blanks of the entry's price into 8
// bytes at out.
void edit_price(char* out, const char* entry);

}  // namespace pxdprc
