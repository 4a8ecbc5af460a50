// The open keyed file (catalogue or price file) as the library keeps it.
// Internal to the keyed-file sources.
#pragma once

#include <cstdint>
#include <vector>

#include "pxall/keyed_file.h"

namespace pxall {

enum class IndexForm : uint8_t {
    kDigits,  // catalogue index: key + 9 ASCII digits
    kBinary,  // price index: 12-byte key, u32 block, u16 count
};

enum HandleKind : int {
    kCatalogFile = 0,
    kKakakuFile = 1,
    kPrice3File = 2,
    kLocalFile = 3,
};

// One file of a handle: an index level (slots 0-2) or the data file (3).
struct FileSlot {
    int fd = -1;
    bool own_fd = false;  // false when it shares another slot's descriptor
    int32_t first = 0;    // first block inside the container
    int32_t blocks = 0;   // length in blocks; 0: absent
    uint8_t mask = 0;
    uint8_t loc = 0;
    int32_t key_len = 0;
    int32_t rec_len = 0;
    std::vector<uint8_t> buf;  // one block, when the slot holds blocks
    int32_t loaded = -1;       // block held in buf
    int32_t seek_block = 0;    // where cdread_read_block goes on
    int32_t present = 0;       // blocks of the file its container really holds
};

// Current level of the walk.
constexpr int kLevelIdle = -1;
constexpr int kLevelDone = -2;  // the walk ended: every later read gives -1
constexpr int kLevelData = 3;
constexpr int kLevelSequential = 99;

struct CdHandle {
    char name[keyed::kNameSize + 1] = {};
    uint8_t file_id = 0;
    uint8_t mask = 0;          // data compare mask
    bool secondary = false;    // JOUHOU key sets S and K
    IndexForm form = IndexForm::kDigits;
    int kind = kCatalogFile;
    int32_t key_len = 0;       // data key length
    int32_t key_off = 0;
    int32_t rec_len = 0;
    int32_t idx_key_len = 0;
    int32_t idx_rec_len = 0;
    int levels = 0;
    int32_t block_size = keyed::kBlockSize;
    int read_mode = 0;
    int direction = 0;
    FileSlot slot[4];
    LevelState lv[keyed::kMaxLevels] = {};

    // The wanted key.
    char key[keyed::kMaxKey] = {};
    int32_t key_wlen = 0;
    char idx_key[keyed::kMaxKey] = {};  // its index form
    int32_t cmp_len = 0;
    bool partial = false;
    int level = kLevelIdle;

    // The data range.
    int32_t d_block = 0;  // block being read, from the data file's start
    int32_t d_left = 0;   // blocks left, that one included
    int32_t d_pos = 0;    // next record in that block

    int32_t visits = 0;  // blocks looked at by the current call
    int setup_index = -1;
    int drive = -1;
};

// A zeroed handle with all descriptors -1, or null out of memory.
CdHandle* new_handle();
// Closes the descriptors a handle owns and frees it: 0 or 12 with errno.
int free_handle(CdHandle* h, int* detail);
// Allocates the block buffers of the slots that hold blocks: false out of memory.
bool alloc_buffers(CdHandle* h);
// Reads `count` blocks of a slot from block `block`: 0, or 14 (short: a block
// missing from the file; errno or 0 in detail). The last block of a catalogue
// file may end early (a CD file's length is rounded up to blocks); its
// missing bytes read as zero.
int read_slot_blocks(CdHandle* h, int slot, int32_t block, int32_t count, uint8_t* out, int* detail);
// Loads a block of a slot into its buffer unless it is there.
int load_block(CdHandle* h, int slot, int32_t block, int* detail);
// Whole records from the start of a loaded block up to the first that
// begins with NUL.
int32_t valid_records(const uint8_t* block, int32_t block_size, int32_t rec_len);
// Notes how many of each slot's blocks its container really holds, which
// bounds the work of a walk over a damaged index.
void measure_slots(CdHandle* h);
// Forgets the key and the search state.
void reset_search(CdHandle* h);
// The opening of a file by its path: 0, -1 when it does not exist, 11.
int open_container(const char* path, int* fd, int* detail);

inline void set_detail(int* detail, int v) {
    if (detail != nullptr) *detail = v;
}

}  // namespace pxall
