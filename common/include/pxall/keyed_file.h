// Keyed catalogue files (layout in keyed_layout.h): opening a file through
// the master files of an installed data set or straight from a CD, searching
// it by key through its index levels, reading it in sequence, in records or in
// whole blocks, repositioning and closing it.
//
// Results: 0 success; -1 end of data, key not found or file missing; 4 the
// clerk gave up on the CD request; 11 open failed; 12 close failed; 14 read
// short; 15 seek failed; 20 out of memory; 128 bad argument, state or stored
// data. Every operation hands back a detail number: the system error number
// of a failing call, or one of the numbers below.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/export.h"
#include "pxall/keyed_layout.h"

namespace pxall {

struct CdHandle;  // one open keyed file; made by the opens, freed by cdclose

namespace cdd {  // detail numbers
// cdopen / fcdopen
constexpr int kPathTooLong = 101;
constexpr int kNoDataSet = 102;
constexpr int kNoArgument = 103;      // no file name or no handle address
constexpr int kNoEntry = 104;
constexpr int kBadMasterEntry = 105;  // an entry whose fields cannot be true
// cdopen_direct
constexpr int kNoCdId = 201;
constexpr int kNoMemHandle = 202, kNoMemData = 203, kNoMemIndex = 205;
constexpr int kDataPath = 204, kIndexPath = 206;
// cdread and its steps
constexpr int kNoHandle = 400;
constexpr int kBadSlot = 401;
constexpr int kKeyTooLong = 404;
constexpr int kBadRecordLength = 405;  // record or index length unusable
constexpr int kBadIndexDigits = 406;   // an index entry's range is not digits
constexpr int kBadRange = 407;         // a range outside its level or file
constexpr int kWalkTooLong = 408;      // the walk does not end: a looping index
// cdseek_only, cdseek, cdreopen, cdseek_key
constexpr int kSeekNoHandle = 501, kSeekBadSlot = 502, kSeekNotOpen = 503;
constexpr int kCdseekNoHandle = 511, kCdseekNotData = 512;
constexpr int kReopenNoHandle = 601;
constexpr int kSeekKeyArgument = 800;
}  // namespace cdd

// File slots of a handle: index levels 1-3, then the data file.
constexpr int kDataSlot = 3;

// The walk state of one index level, as cdread_initial_set hands it back.
struct LevelState {
    int32_t block;  // block of the range being searched, from the level's start
    int32_t left;   // blocks of the range left, that one included
    int32_t pos;    // next entry to look at in that block
    int32_t has_last;
    char last_key[keyed::kMaxKey];  // key of the entry last taken
};

// Opens a file through the master files of set-up entry `setup_index`: the
// root master (no catalogue code: null or empty) or the catalogue's master
// "PX<cat6>.MST". key_set picks among entries of one name (JOUHOU.DAT);
// read_mode 1 makes sequential reads copy whole blocks; drive is the CD drive
// index or -1 for all; cd_option is the CD request's message option.
PX_EXPORT int cdopen(const char* name, const char* catalog, int key_set, int read_mode, int drive, int setup_index,
                     int cd_option, CdHandle** out, int* detail);
// Opens a file on the CD whose label carries cd_id (and cd_date when given).
// file_len > 0 gives the file's length in blocks and file_offset its first
// block; otherwise both are looked up on the CD. `direction` is kept in the
// handle and is the CD request's message option.
PX_EXPORT int cdopen_direct(const char* name, const char* catalog, int key_set, int drive, int direction,
                            const char* cd_id, const char* cd_no, const char* cd_date, int32_t file_len,
                            int32_t file_offset, int read_mode, CdHandle** out, int* detail);

// With a key (key_len > 0): the first record at or after a key shorter than
// the file's key, or equal to a full key; repeated calls with the same key
// return the following records. Without a key: the next record in sequence,
// or in block mode up to `blocks` whole blocks (count in *blocks_read). The
// record or blocks go to buf; *position is the data block they came from
// (blocks_read and position may be null).
PX_EXPORT int cdread(void* buf, const char* key, int key_len, int blocks, int32_t* blocks_read, int32_t* position,
                     CdHandle* h, int* detail);
// Runs the key walk to the first data block holding the key and prepares a
// sequential read from that block's start.
PX_EXPORT int cdseek_key(const char* key, int key_len, CdHandle* h, int* detail);
// Prepares a sequential read from data block `block` (slot must be the data slot).
PX_EXPORT int cdseek(int slot, int32_t block, CdHandle* h, int* detail);
// Positions slot 0-3 at block `block` of its file for cdread_read_block.
PX_EXPORT int cdseek_only(int slot, int32_t block, CdHandle* h, int* detail);
// Forgets the key and every search state; reading starts afresh.
PX_EXPORT int cdreopen(CdHandle* h, int* detail);
// The data file's length in blocks; 0 without a handle.
PX_EXPORT int32_t cdfilelen(const CdHandle* h);
// Bytes of blocks the open file keeps in memory (index blocks, 4 MiB at
// most, and data blocks of keyed searches), its block buffers and the tables
// that find kept blocks by number included.
PX_EXPORT int64_t cdkept_bytes(const CdHandle* h);
// Bytes of data the program keeps: data blocks of open files and the whole
// files of cdread_whole; within the budget below.
PX_EXPORT int64_t kept_data_bytes();
// The budget of kept data on a machine of `physical_bytes` of memory (0:
// unknown): a small share of it, since a dealer's PC runs other programs
// beside this one; a thirty-second, 256 MiB at most, 64 MiB when unknown.
PX_EXPORT int64_t kept_data_budget_for(uint64_t physical_bytes);
// Sets the budget for this machine's memory (drom_init) and returns it.
PX_EXPORT int64_t fit_kept_data_budget();
// Test hook: the most data bytes the program may keep (negative: as
// fit_kept_data_budget sets it). What is already kept stays.
PX_EXPORT void set_kept_data_budget(int64_t bytes);

// A data file read whole: its blocks as sequential block reads give them,
// owned by `bytes`, which may outlive the handle.
struct WholeFile {
    std::shared_ptr<const uint8_t[]> bytes;
    int32_t blocks = 0;
};
// Reads the data file of an open file whole, or finds it among the files
// kept: a file read whole is kept past its close, for the next open of the
// same file while it stays as it was (same file, size and change times),
// while the budget allows (the least recently used go first) and only when
// it last changed at least kWholeSettleSeconds before the read (a change in
// the same tick of the file system's clock would leave its times as they
// were). The handle's read position is left at the start. 0; 20 out of
// memory; 14 a block missing from the file; 128 no handle.
constexpr int64_t kWholeSettleSeconds = 3;
PX_EXPORT int cdread_whole(CdHandle* h, WholeFile* out, int* detail);
// Gives back every whole file kept (drom_term).
PX_EXPORT void drop_whole_files();
// Closes the files, frees the handle and clears *h: 0, or 12 when a close failed.
PX_EXPORT int cdclose(CdHandle** h, int* detail);

// The steps of the key walk.
PX_EXPORT int cdread_initial_set(const char* key, int key_len, CdHandle* h, LevelState* levels, int* detail);
PX_EXPORT int cdread_search_index(CdHandle* h, int* detail);
PX_EXPORT int cdread_search_data(void* buf, int blocks, int32_t* blocks_read, int32_t* position, CdHandle* h,
                                 int* detail);
// Reads `count` blocks of a slot from where cdseek_only put it.
PX_EXPORT int cdread_read_block(int slot, void* buf, int count, CdHandle* h, int* detail);

// Searches buf_len / rec_len records for the first whose key field (rec_len
// bytes from key_off) compares with the key so that the bit of the result is
// in mask: 1 the key is below the record's, 2 equal, 4 above. The bit, with
// the record's index in *index; 0 when none.
PX_EXPORT int d_search(const void* key, int key_len, int key_off, int mask, const void* buf, int buf_len, int rec_len,
                       int* index);
// As d_search, but a key of two or more bytes looks only at records whose
// first four key bytes (fewer for a shorter key) equal the key's.
PX_EXPORT int d_search2(const void* key, int key_len, int key_off, int mask, const void* buf, int buf_len, int rec_len,
                        int* index);

}  // namespace pxall
