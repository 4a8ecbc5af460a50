// Writing keyed catalogue files (layout in pxall/keyed_layout.h): data blocks
// of fixed-length records under one to three index levels.
//
// The data records are sorted by their data key. The index level next to the
// data has, for an ordinary file, one entry per data block (the key of the
// block's last record). For a file whose index has a level searched for an
// equal key (compare mask 2: SHAMEI, FRKATA) every data block holds records of
// one index key only, and that level has one entry per key covering its
// blocks, so an equal-key search finds every key. The JOUHOU key sets S and K
// index the one data file in another order: one entry per key and run of
// consecutive data blocks holding it, in key order. Each further level has one
// entry per block of the level below, until the top fits one block.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "pxbuild/bytes.h"

namespace pxbuild {

struct IndexShape {
    // Index levels to build: 0 takes the descriptor table's number (3 for
    // most files, 1 for FIGMnn). More are added, up to 3, when the top level
    // would not fit one block.
    int levels = 0;
    int index_entries_per_block = 0;  // 0: as many as fit a block
    int records_per_block = 0;        // 0: as many as fit a block
};

struct KeyedImage {
    Bytes data;                // whole 2048-byte blocks
    std::vector<Bytes> levels;  // level 1 (the top) first; none: no index
};

// JOUHOU.DAT and its three indexes (key sets A, S, K).
struct MultiKeyImage {
    Bytes data;
    std::array<std::vector<Bytes>, 3> indexes;
};

// The descriptor-table row of a file name ("SHAMEI.DAT"); for JOUHOU.DAT the
// row of key set 1-3. Throws for an unknown name.
int find_row(std::string_view name, int key_set = 1);
// The rows of a data row's index levels 1-3.
std::array<int, 3> index_rows(int data_row);

// A keyed file from its records (each exactly the data row's record length,
// none beginning with NUL). Throws BuildError for bad records, keys whose
// index form would not ascend, or more data than three levels can hold.
KeyedImage build_keyed(std::string_view data_name, std::vector<std::string> records, const IndexShape& shape = {});

MultiKeyImage build_jouhou(std::vector<std::string> records, const IndexShape& shape = {});

// A file without index: records in the given order (rec_len 0: raw bytes
// padded to whole blocks).
Bytes build_plain(int rec_len, const std::vector<std::string>& records, int records_per_block = 0);

int32_t block_count(const Bytes& b);

}  // namespace pxbuild
