// The keyed-file handle: allocation, block reads, repositioning and closing.
#include "keyed_handle.h"

#include <cerrno>
#include <cstring>
#include <new>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>

#include "platform/memory.h"
#include "pxall/fdtable.h"
#include "pxall/fileutil.h"

namespace pxall {

CdHandle* new_handle() { return new (std::nothrow) CdHandle(); }

int free_handle(CdHandle* h, int* detail) {
    if (h == nullptr) return 0;
    drop_index_cache(h);  // gives its data blocks' bytes back
    int result = 0;
    for (auto& s : h->slot) {
        if (s.fd >= 0 && s.own_fd && close2(s.fd) != 0) {
            result = 12;
            set_detail(detail, errno);
        }
        s.fd = -1;
    }
    delete h;
    return result;
}

bool alloc_buffers(CdHandle* h) {
    try {
        for (auto& s : h->slot)
            if (s.blocks > 0) s.buf.assign(static_cast<size_t>(h->block_size), 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

int read_slot_blocks(CdHandle* h, int slot, int32_t block, int32_t count, uint8_t* out, int* detail) {
    FileSlot& s = h->slot[slot];
    set_detail(detail, 0);
    if (s.fd < 0 || block < 0 || count < 1 || block > s.blocks - count) return 14;
    const int64_t bs = h->block_size;
    const int64_t want = bs * count;
    const off_t at = static_cast<off_t>((static_cast<int64_t>(s.first) + block) * bs);
    int64_t got = 0;
    while (got < want) {
        ssize_t r = ::pread(s.fd, out + got, static_cast<size_t>(want - got), at + got);
        if (r < 0) {
            if (errno == EINTR) continue;
            set_detail(detail, errno);
            return 14;
        }
        if (r == 0) break;
        got += r;
    }
    if (got == want) return 0;
    // A CD file whose length is not a whole number of blocks ends inside its
    // last block; anything shorter is a file cut short. Price files are
    // written in whole blocks.
    if (h->kind == kCatalogFile && block + count == s.blocks && got > want - bs) {
        std::memset(out + got, 0, static_cast<size_t>(want - got));
        return 0;
    }
    return 14;
}

namespace {

// A coarse monotonic clock: read without a system call.
int64_t coarse_ms() {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC_COARSE, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

}  // namespace

FileStamp stamp_of(int fd) {
    FileStamp f;
    f.fd = fd;
    struct stat st;
    if (::fstat(fd, &st) != 0) return f;
    f.read = true;
    f.dev = st.st_dev;
    f.ino = st.st_ino;
    f.size = st.st_size;
    f.mtime_ns = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    f.ctime_ns = static_cast<int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return f;
}

bool same_stamp(const FileStamp& a, const FileStamp& b) {
    return a.dev == b.dev && a.ino == b.ino && a.size == b.size && a.mtime_ns == b.mtime_ns && a.ctime_ns == b.ctime_ns;
}

namespace {

bool is_kept(const FileSlot& s, int32_t block) {
    const size_t b = static_cast<size_t>(block);
    return block >= 0 && b < s.kept_at.size() && ((s.kept_bits[b / 64] >> (b % 64)) & 1) != 0;
}

// Data bytes kept (blocks of open handles, whole files), and what they may reach.
std::atomic<int64_t> g_kept_data{0};
std::atomic<int64_t> g_data_budget{kKeptDataBytes};

// Keeps a copy of a block just read, while the budget allows.
void keep_block(CdHandle* h, FileSlot& s, bool data, int32_t block) {
    if (block < 0 || block >= s.blocks) return;
    if (!data && h->index_blocks >= kIndexCacheBlocks) return;
    bool known = false;
    for (const FileStamp& f : h->stamps) known = known || f.fd == s.fd;
    if (!known) {
        if (h->stamps.empty()) h->stamps_checked_ms = coarse_ms();
        h->stamps.push_back(stamp_of(s.fd));
    }
    const int32_t covered = std::min(s.blocks, s.present);
    if (block >= covered) return;
    if (data && !reserve_data_bytes(h->block_size)) return;
    // Given back unless the block is kept in the end.
    struct Reserved {
        int64_t bytes;
        ~Reserved() {
            if (bytes != 0) release_data_bytes(bytes);
        }
    } reserved{data ? h->block_size : 0};
    const int32_t i = h->index_blocks + h->data_blocks;  // its place among the kept blocks
    try {
        if (s.kept_at.empty()) {
            s.kept_at.assign(static_cast<size_t>(covered), CachedBlock{});
            s.kept_bits.assign((static_cast<size_t>(covered) + 63) / 64, 0);
        }
        if (i % kKeptChunkBlocks == 0) {
            std::unique_ptr<uint8_t[]> chunk(
                new (std::nothrow) uint8_t[static_cast<size_t>(kKeptChunkBlocks) * h->block_size]);
            if (!chunk) return;
            h->kept_chunks.push_back(std::move(chunk));
        }
    } catch (const std::bad_alloc&) {
        return;
    }
    CachedBlock& c = s.kept_at[static_cast<size_t>(block)];
    c.at = static_cast<uint32_t>(i) + 1;
    s.kept_bits[static_cast<size_t>(block) / 64] |= uint64_t{1} << (block % 64);
    uint8_t* bytes = const_cast<uint8_t*>(kept_bytes(h, c));
    std::memcpy(bytes, s.buf.data(), static_cast<size_t>(h->block_size));
    // Index entries carry their key first; data records at the file's key offset.
    const int32_t rec = data ? h->rec_len : s.rec_len;
    const int32_t off = data ? h->key_off : 0;
    const int32_t key = data ? h->key_len : s.key_len;
    c.valid = static_cast<uint16_t>(valid_records(bytes, h->block_size, rec));
    c.ascending = key > 0 && rec > 0 && off + key <= rec;
    for (int32_t r = 1; c.ascending && r < c.valid; ++r) {
        const uint8_t* e = bytes + static_cast<size_t>(r) * rec + off;
        c.ascending = std::memcmp(e - rec, e, static_cast<size_t>(key)) <= 0;
    }
    ++(data ? h->data_blocks : h->index_blocks);
    reserved.bytes = 0;
    s.cur = bytes;
    s.cur_cached = &c;
}

}  // namespace

bool reserve_data_bytes(int64_t bytes) {
    if (g_kept_data.fetch_add(bytes) + bytes <= g_data_budget.load()) return true;
    g_kept_data.fetch_sub(bytes);
    return false;
}

void release_data_bytes(int64_t bytes) { g_kept_data.fetch_sub(bytes); }

int load_block(CdHandle* h, int slot, int32_t block, int* detail, bool keep) {
    FileSlot& s = h->slot[slot];
    if (is_kept(s, block)) {
        const CachedBlock& c = s.kept_at[static_cast<size_t>(block)];
        s.cur = kept_bytes(h, c);
        // The walk looks at a handful of its entries next: all of its lines
        // are fetched at once rather than one after the other.
        for (int32_t at = 0; at < h->block_size; at += 64) __builtin_prefetch(s.cur + at);
        s.cur_cached = &c;
        s.loaded = -1;  // buf no longer holds what cur shows
        return 0;
    }
    if (s.loaded == block && !s.buf.empty()) {
        s.cur = s.buf.data();
        s.cur_cached = nullptr;
        return 0;
    }
    if (s.buf.empty()) {
        set_detail(detail, 0);
        return 14;
    }
    s.loaded = -1;
    s.cur = nullptr;
    s.cur_cached = nullptr;
    int r = read_slot_blocks(h, slot, block, 1, s.buf.data(), detail);
    if (r != 0) return r;
    s.loaded = block;
    s.cur = s.buf.data();
    if (slot != kDataSlot || keep) keep_block(h, s, slot == kDataSlot, block);
    return 0;
}

void drop_index_cache(CdHandle* h) {
    for (auto& s : h->slot) {
        s.kept_at.clear();
        s.kept_bits.clear();
        if (s.cur_cached != nullptr) {
            s.cur = nullptr;
            s.cur_cached = nullptr;
            s.loaded = -1;
        }
    }
    release_data_bytes(static_cast<int64_t>(h->data_blocks) * h->block_size);
    h->index_blocks = h->data_blocks = 0;
    h->kept_chunks.clear();
    h->stamps.clear();
}

void check_index_cache(CdHandle* h) {
    const int64_t now = coarse_ms();
    if (now - h->stamps_checked_ms < kStampRecheckMs && now >= h->stamps_checked_ms) return;
    h->stamps_checked_ms = now;
    for (const FileStamp& f : h->stamps) {
        if (!same_stamp(f, stamp_of(f.fd))) {
            drop_index_cache(h);
            return;
        }
    }
}

int32_t valid_records(const uint8_t* block, int32_t block_size, int32_t rec_len) {
    if (rec_len <= 0 || rec_len > block_size) return 0;
    int32_t max = block_size / rec_len, n = 0;
    while (n < max && block[static_cast<size_t>(n) * rec_len] != 0) ++n;
    return n;
}

void measure_slots(CdHandle* h) {
    // Slots in one container share its descriptor: one look at it serves all.
    int looked = -1;
    bool ok = false;
    struct stat st;
    for (auto& s : h->slot) {
        if (s.fd >= 0 && s.fd != looked) {
            looked = s.fd;
            ok = ::fstat(s.fd, &st) == 0;
        }
        if (s.fd < 0 || !ok) {
            s.present = 0;
            continue;
        }
        int64_t in_file = (static_cast<int64_t>(st.st_size) + h->block_size - 1) / h->block_size - s.first;
        s.present = static_cast<int32_t>(std::max<int64_t>(0, std::min<int64_t>(in_file, s.blocks)));
    }
}

void reset_search(CdHandle* h) {
    std::memset(h->key, 0, sizeof h->key);
    std::memset(h->idx_key, 0, sizeof h->idx_key);
    h->key_wlen = h->cmp_len = 0;
    h->partial = false;
    std::memset(h->lv, 0, sizeof h->lv);
    h->level = kLevelIdle;
    h->d_block = h->d_left = h->d_pos = 0;
    for (auto& s : h->slot) s.seek_block = 0;
}

int open_container(const char* path, int* fd, int* detail) {
    int32_t err = 0;
    if (open_read(path, fd, &err) == 0) return 0;
    set_detail(detail, err);
    return (err == ENOENT || err == ENOTDIR) ? -1 : 11;
}

int cdclose(CdHandle** h, int* detail) {
    set_detail(detail, 0);
    if (h == nullptr || *h == nullptr) return 0;
    int r = free_handle(*h, detail);
    *h = nullptr;
    return r;
}

int cdreopen(CdHandle* h, int* detail) {
    set_detail(detail, 0);
    if (h == nullptr) {
        set_detail(detail, cdd::kReopenNoHandle);
        return 128;
    }
    reset_search(h);
    return 0;
}

int32_t cdfilelen(const CdHandle* h) { return h == nullptr ? 0 : h->slot[kDataSlot].blocks; }

int64_t kept_data_bytes() { return g_kept_data.load(); }

int64_t kept_data_budget_for(uint64_t physical_bytes) {
    if (physical_bytes == 0) return kKeptDataUnknownMemory;
    return std::min<int64_t>(kKeptDataBytes, static_cast<int64_t>(physical_bytes / kKeptDataShare));
}

int64_t fit_kept_data_budget() {
    const int64_t budget = kept_data_budget_for(plat::physical_memory_bytes());
    g_data_budget.store(budget);
    return budget;
}

void set_kept_data_budget(int64_t bytes) {
    if (bytes < 0) fit_kept_data_budget();
    else g_data_budget.store(bytes);
}

int64_t cdkept_bytes(const CdHandle* h) {
    if (h == nullptr) return 0;
    // Whole chunks, as they are allocated.
    int64_t n = static_cast<int64_t>(h->kept_chunks.size()) * kKeptChunkBlocks;
    int64_t tables = 0;
    for (const auto& s : h->slot) {
        n += s.buf.empty() ? 0 : 1;
        tables += static_cast<int64_t>(s.kept_at.size() * sizeof(CachedBlock) + s.kept_bits.size() * 8);
    }
    return n * h->block_size + tables;
}

int cdseek_only(int slot, int32_t block, CdHandle* h, int* detail) {
    set_detail(detail, 0);
    if (h == nullptr) {
        set_detail(detail, cdd::kSeekNoHandle);
        return 128;
    }
    if (slot < 0 || slot > kDataSlot) {
        set_detail(detail, cdd::kSeekBadSlot);
        return 128;
    }
    if (h->slot[slot].fd < 0) {
        set_detail(detail, cdd::kSeekNotOpen);
        return 128;
    }
    if (block < 0) {
        set_detail(detail, EINVAL);
        return 15;
    }
    h->slot[slot].seek_block = block;
    return 0;
}

int cdseek(int slot, int32_t block, CdHandle* h, int* detail) {
    set_detail(detail, 0);
    if (h == nullptr) {
        set_detail(detail, cdd::kCdseekNoHandle);
        return 128;
    }
    if (slot != kDataSlot) {
        set_detail(detail, cdd::kCdseekNotData);
        return 128;
    }
    if (block < 0) {
        set_detail(detail, EINVAL);
        return 15;
    }
    reset_search(h);
    h->level = kLevelSequential;
    h->d_block = block;
    h->d_left = h->slot[kDataSlot].blocks - block;
    if (h->d_left < 0) h->d_left = 0;
    h->d_pos = 0;
    h->slot[kDataSlot].seek_block = block;
    return 0;
}

int cdread_read_block(int slot, void* buf, int count, CdHandle* h, int* detail) {
    set_detail(detail, 0);
    if (h == nullptr || slot < 0 || slot > kDataSlot || buf == nullptr || count < 1) {
        set_detail(detail, cdd::kBadSlot);
        return 128;
    }
    FileSlot& s = h->slot[slot];
    if (s.loc > keyed::kInMaster) return 0;
    if (s.fd < 0) {
        set_detail(detail, cdd::kBadSlot);
        return 128;
    }
    int r = read_slot_blocks(h, slot, s.seek_block, count, static_cast<uint8_t*>(buf), detail);
    if (r == 0) s.seek_block += count;
    return r;
}

}  // namespace pxall
