// Reading the local price files (layout in localp_layout.h): a file set is
// opened into a caller-owned handle, the records of one key are loaded into
// memory, then handed out one after the other; for set 3 a loaded record can
// be found by its part number.
//
// Codes: 0 done; -1 the data file will not open; 11 the index will not open;
// 14 a short read; 15 a seek failed; 20 out of memory, or (LCPSeqRead) no
// key loaded; 128 a set number outside 1-3. LCPOpen and LCPKeyRead log their
// failures (module "PXSUBF30") except a missing data file; the others report
// through the end flag.
#pragma once

#include <cstdint>
#include <cstdio>

#include "platform/export.h"
#include "pxall/itemlist.h"
#include "pxall/paths.h"

namespace pxall {

// The caller's handle; LCPOpen fills it, LCPClose frees what it holds.
struct LcpHandle {
    char index_path[kPathSize];
    std::FILE* data;        // the data file, open for reading
    int16_t rec_len;        // 62 or 132
    int16_t entry_len;      // 16 or 14
    int16_t key_len;        // 12 or 10
    int32_t handed_out;     // records of the current key given out
    int32_t key_records;    // records loaded for the current key
    int16_t end_flag;       // 1: key not found, or its records used up
    ItemLinks* cur_block;   // block of the record last handed out
    int16_t pos_in_block;   // that record's index in its block
    int16_t per_block;      // records a block holds
    ItemList blocks;        // loaded blocks of kBlockBytes of records
};

// Zeroes the handle, sets the set's lengths, builds both paths and opens the
// data file: 0, -1, or 128 (logged "Parm Error").
PX_EXPORT int LCPOpen(LcpHandle* h, int set);
// Loads the records of every index entry whose first n characters equal the
// key's (n is cut to the key length; 0 or less matches every entry) and
// copies the first into rec. A key without records (also an entry with a
// count of zero) sets the end flag and gives 0 with rec unchanged.
// 0, 11, 14, 15 or 20; after a failure no key is loaded.
PX_EXPORT int LCPKeyRead(LcpHandle* h, const char* key, int16_t n, void* rec);
// The next record of the key into rec: 0 (end flag 1 and rec unchanged after
// the last), or 20 when no key is loaded.
PX_EXPORT int LCPSeqRead(LcpHandle* h, void* rec);
// Set 3: the first loaded record whose part number (bytes 52-63) equals the
// 12 characters of part_no, into rec (132 bytes), end flag 0; none (or a
// handle of another set): end flag 1, rec unchanged.
PX_EXPORT void LCP3PrtNoRead(LcpHandle* h, const char* part_no, void* rec);
// Frees the loaded blocks and closes the data file: 0.
PX_EXPORT int LCPClose(LcpHandle* h);

}  // namespace pxall
