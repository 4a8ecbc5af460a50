// Data files read whole and kept past their handles, for the searches that
// read a file from end to end each time they run (the keyword search).
#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include "keyed_handle.h"
#include "platform/clock.h"
#include "pxall/keyed_file.h"

namespace pxall {

namespace {

// At most this many files kept, the least recently used dropped first.
constexpr size_t kMaxWholeFiles = 8;

// What tells one kept file from another: the file and its stamp, and where
// its data lies in it.
struct WholeKey {
    FileStamp stamp;
    int32_t first = 0, blocks = 0, block_size = 0;
};

bool same_key(const WholeKey& a, const WholeKey& b) {
    return same_stamp(a.stamp, b.stamp) && a.first == b.first && a.blocks == b.blocks &&
           a.block_size == b.block_size;
}

struct Kept {
    WholeKey key;
    WholeFile file;
    int64_t bytes = 0;
};

// The most recently used last.
std::vector<Kept>& kept() {
    static std::vector<Kept> files;
    return files;
}

void drop_oldest() {
    auto& k = kept();
    release_data_bytes(k.front().bytes);
    k.erase(k.begin());
}

// Counts the bytes of a file to keep, dropping older files while they do
// not fit: false when they do not fit at all.
bool make_room(int64_t bytes) {
    auto& k = kept();
    if (k.size() >= kMaxWholeFiles) drop_oldest();
    while (!reserve_data_bytes(bytes)) {
        if (k.empty()) return false;
        drop_oldest();
    }
    return true;
}

bool settled(const FileStamp& st) {
    const int64_t changed = std::max(st.mtime_ns, st.ctime_ns) / 1000000000;
    return st.read && changed + kWholeSettleSeconds <= plat::now_seconds();
}

}  // namespace

int cdread_whole(CdHandle* h, WholeFile* out, int* detail) {
    set_detail(detail, 0);
    if (out != nullptr) *out = WholeFile{};
    if (h == nullptr || out == nullptr) {
        set_detail(detail, cdd::kNoHandle);
        return 128;
    }
    reset_search(h);
    FileSlot& s = h->slot[kDataSlot];
    if (s.blocks <= 0) return 0;
    // A container shorter than the file's blocks fails the read: found out
    // before the memory is taken for it.
    if (s.fd < 0 || s.present < s.blocks) return 14;

    const WholeKey key{stamp_of(s.fd), s.first, s.blocks, h->block_size};
    auto& k = kept();
    for (size_t i = 0; i < k.size(); ++i) {
        if (!key.stamp.read || !same_key(k[i].key, key)) continue;
        std::rotate(k.begin() + static_cast<std::ptrdiff_t>(i), k.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                    k.end());
        *out = k.back().file;
        return 0;
    }

    const int64_t bytes = static_cast<int64_t>(s.blocks) * h->block_size;
    std::shared_ptr<uint8_t[]> buf;
    try {
        buf = std::shared_ptr<uint8_t[]>(new uint8_t[static_cast<size_t>(bytes)]);
    } catch (const std::bad_alloc&) {
        return 20;
    }
    if (int r = read_slot_blocks(h, kDataSlot, 0, s.blocks, buf.get(), detail); r != 0) return r;
    out->bytes = buf;
    out->blocks = s.blocks;
    if (settled(key.stamp) && make_room(bytes)) {
        try {
            k.push_back({key, *out, bytes});
        } catch (const std::bad_alloc&) {
            release_data_bytes(bytes);
        }
    }
    return 0;
}

void drop_whole_files() {
    while (!kept().empty()) drop_oldest();
}

}  // namespace pxall
