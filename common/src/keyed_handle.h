// The open keyed file (catalogue or price file) as the library keeps it.
// Internal to the keyed-file sources.
#pragma once

#include <cstdint>
#include <memory>
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

// A block kept in memory for the life of the open file, with what the walk
// needs to know of it: where its bytes are, its whole records, and whether
// their keys rise (then a record is found by halving instead of one by one).
// Eight bytes, so that the table of a slot's blocks stays small.
struct CachedBlock {
    uint32_t at = 0;  // 1 + its place among the handle's kept blocks; 0: not kept
    uint16_t valid = 0;  // a block holds at most 65,535 bytes
    bool ascending = false;
};

// The kept blocks' bytes, in chunks of this many blocks so that a handle
// that keeps few blocks holds little memory.
constexpr int32_t kKeptChunkBlocks = 32;

// Blocks kept for the life of the open file. Every index block the walk
// reads, up to 2048 a handle (4 MiB; the walk reads the upper levels first,
// so they are always among them); and the data blocks keyed searches read,
// while the data bytes the program keeps (these and the whole files of
// cdread_whole) stay within the budget: a thirty-second of the machine's
// memory, 256 MiB at most (a search then costs no read of the file at all).
// Sequential reads keep nothing. The bytes are counted as each block is kept
// and given back when its handle drops its blocks or closes.
constexpr int32_t kIndexCacheBlocks = 2048;
constexpr int64_t kKeptDataBytes = int64_t{256} << 20;
constexpr uint64_t kKeptDataShare = 32;
// The budget where the machine's memory is unknown: as on a 2 GiB one.
constexpr int64_t kKeptDataUnknownMemory = int64_t{64} << 20;

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
    // The block load_block left: buf, or a kept index block.
    const uint8_t* cur = nullptr;
    const CachedBlock* cur_cached = nullptr;
    // Kept blocks by block number. The table covers the blocks the container
    // really holds (`present`), never as many as a (possibly damaged) master
    // claims. A bit a block tells first whether it is kept: a lookup in a
    // large file mostly reads a block that is not, and the bits stay in the
    // processor's cache where the table does not.
    std::vector<CachedBlock> kept_at;
    std::vector<uint64_t> kept_bits;
};

// What an open index file looked like when its blocks were kept; a change
// (the file rewritten or replaced) drops them.
struct FileStamp {
    int fd = -1;
    uint64_t dev = 0, ino = 0;
    int64_t size = 0, mtime_ns = 0, ctime_ns = 0;
    bool read = false;  // false when fstat failed
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

    int32_t index_blocks = 0;          // index blocks kept, all slots
    int32_t data_blocks = 0;           // data blocks kept, counted against kKeptDataBytes
    std::vector<std::unique_ptr<uint8_t[]>> kept_chunks;  // their bytes
    std::vector<FileStamp> stamps;     // of the files those came from
    int64_t stamps_checked_ms = 0;     // when they were last compared
};

// A file's stamp is compared again at the first search that begins this long
// after the last comparison, so that a lookup costs no file-status call: a
// file rewritten under an open handle is noticed within this time.
constexpr int64_t kStampRecheckMs = 50;

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
// Loads a block of a slot unless it is there: slot.cur points at it, and
// slot.cur_cached at its kept copy when the handle keeps it. Index blocks are
// always offered for keeping, data blocks when `keep` says so.
int load_block(CdHandle* h, int slot, int32_t block, int* detail, bool keep = false);
// Drops the kept index blocks when a file they came from has changed since
// (compared at most every kStampRecheckMs).
void check_index_cache(CdHandle* h);
// The bytes of a kept block.
inline const uint8_t* kept_bytes(const CdHandle* h, const CachedBlock& c) {
    const uint32_t i = c.at - 1;
    return h->kept_chunks[i / kKeptChunkBlocks].get() + static_cast<size_t>(i % kKeptChunkBlocks) * h->block_size;
}
// Drops every kept index block.
void drop_index_cache(CdHandle* h);
// Counts bytes of kept data against the budget: false, and nothing counted,
// when they would exceed it.
bool reserve_data_bytes(int64_t bytes);
// Gives counted bytes back.
void release_data_bytes(int64_t bytes);
// The stamp of an open file.
FileStamp stamp_of(int fd);
bool same_stamp(const FileStamp& a, const FileStamp& b);
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
