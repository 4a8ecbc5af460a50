// The catalogue list's state: one list at a time, from vcat_init to the
// choice of a row or the end of the list.
#pragma once

#include <cstdint>
#include <cstdio>

#include "pxall/cdrom.h"
#include "pxall/keyed_layout.h"
#include "pxall/paths.h"
#include "vcat/catalog_list_layout.h"

namespace pxvcat {

constexpr const char* kModule = "PXVCAT01";

enum Mode : int32_t { kModeNone = 0, kModeAll = 1, kModeName = 2, kModeCode = 3, kModeVehicles = 4 };

struct State {
    // A fixed table: building the list allocates nothing.
    unsigned char rows[kMaxRows][row::kSize];
    int32_t count = 0;
    int32_t mode = kModeNone;
    pxall::CdCursor* cursor = nullptr;
    std::FILE* rows_fp = nullptr;     // PXVCAT.TMP
    std::FILE* display_fp = nullptr;  // DSPCAT.TMP
    std::FILE* jouhou_fp = nullptr;   // JOUHOU.TMP
    char rows_path[pxall::kPathSize] = {};
    char display_path[pxall::kPathSize] = {};
    char jouhou_path[pxall::kPathSize] = {};
    unsigned char row_buf[row::kSize] = {};
    // One car-name record, with room for any record length a file claims.
    unsigned char record[pxall::keyed::kBlockSize] = {};
};

State& state();

// tblset: adds the rows of a car-name record read on set-up entry
// read_index. kStored also when the record is left out (its CD number names
// no set-up entry of that area); kFull when the table has no room for its
// rows ("Area over" logged): the list then stays as it is.
enum TableResult { kStored = 0, kFull = 1 };
TableResult tblset(const unsigned char* rec, int32_t read_index);
// True when a row of this catalogue code read on set-up entry read_index
// is in the table.
bool has_row(const unsigned char* code, int32_t read_index);

// The two loads: 0, or -1 after the log line.
int vcat_load1(const char* key, int key_len);
int vcat_load2();

// Work files: 0, or -1 after the log line.
int vcat_open_tmp(const char* mode);
int vcat_set_table2_temp();
int vcat_read_tmp(int32_t n, unsigned char* out);
// Closes the streams that are open and removes PXVCAT.TMP and DSPCAT.TMP.
void vcat_close_all();
// Ends the reader's cursor, then vcat_close_all.
void vcat_abort();
// Releases the reader's cursor if one is open.
void release_cursor();

}  // namespace pxvcat
