#include "pxall/localp.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/files.h"
#include "pxall/commit_files.h"
#include "pxall/errlog.h"
#include "pxall/localp_layout.h"

namespace pxall {

namespace {

constexpr const char* kModule = "PXSUBF30";
constexpr const char* kKeyRead = "LCPKeyRead";
constexpr int kBlockItem = static_cast<int>(kItemDataOffset) + localp::kBlockBytes;

// Place numbers of the logged steps.
enum : int32_t { kAtParm = 1, kAtOpen = 2, kAtIndexBlock = 3, kAtIndexRead = 4, kAtSeek = 5, kAtBlock = 6, kAtRead = 7 };

int32_t errno_or(int32_t fallback) { return errno != 0 ? errno : fallback; }

uint16_t get_u16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

// The handle's lengths are one set's, so that no block is read or handed
// out past its 4088 bytes.
bool lengths_ok(const LcpHandle* h) {
    for (const auto& s : localp::kLayout)
        if (h->rec_len == s.rec_len && h->entry_len == s.entry_len && h->key_len == s.key_len &&
            h->per_block == localp::kBlockBytes / s.rec_len)
            return true;
    return false;
}

int full_path(const char* name, char* buf) {
    std::memset(buf, 0, kPathSize);
    std::strcpy(buf, name);
    return get_path_name(kPathLocalPrice, -1, buf);
}

struct ListFree {
    ItemList* list;
    ~ListFree() { AllDeleteItem(list); }
};

// The whole index in blocks of entries; *entries is their number. 0, 14 or
// 20 (logged by the caller through *step).
int load_index(std::FILE* fp, int16_t entry_len, ItemList* list, int32_t* entries, const char** step, int32_t* place) {
    const int32_t per = localp::kBlockBytes / entry_len;
    *entries = 0;
    for (;;) {
        errno = 0;
        void* item = AddItem(list, kBlockItem);
        if (item == nullptr) {
            *step = "AddItem", *place = kAtIndexBlock;
            return 20;
        }
        size_t got = std::fread(item_data(item), static_cast<size_t>(entry_len), static_cast<size_t>(per), fp);
        *entries += static_cast<int32_t>(got);
        if (got < static_cast<size_t>(per)) {
            if (std::ferror(fp)) {
                *step = "fread", *place = kAtIndexRead;
                return 14;
            }
            return 0;
        }
    }
}

// The first record number and the summed counts of the matching entries.
// Only the entries read are looked at, and never past the key's bytes.
void match_entries(const ItemList* list, int32_t entries, int16_t entry_len, int16_t key_len, const char* key, int n,
                   int32_t* first, int32_t* sum) {
    const int32_t per = localp::kBlockBytes / entry_len;
    *first = -1;
    *sum = 0;
    int32_t i = 0;
    for (const ItemLinks* b = list->first; b != nullptr && i < entries; b = b->next) {
        const unsigned char* data = item_data(const_cast<ItemLinks*>(b));
        for (int32_t j = 0; j < per && i < entries; ++j, ++i) {
            const unsigned char* e = data + static_cast<size_t>(j) * entry_len;
            if (e[0] == 0) return;
            if (n > 0 && std::memcmp(e, key, static_cast<size_t>(n)) != 0) continue;
            if (*first < 0) *first = get_u16(e + localp::first_at(key_len));
            *sum += get_u16(e + localp::count_at(key_len));
        }
    }
}

void forget_key(LcpHandle* h) {
    AllDeleteItem(&h->blocks);
    h->cur_block = nullptr;
    h->pos_in_block = 0;
    h->handed_out = 0;
    h->key_records = 0;
}

int fail(LcpHandle* h, const char* step, int code, int32_t err, int32_t place) {
    forget_key(h);
    syerr_message(kModule, kKeyRead, step, code, err, place);
    return code;
}

}  // namespace

int LCPOpen(LcpHandle* h, int set) {
    if (h != nullptr) *h = LcpHandle{};
    if (h == nullptr || set < 1 || set > localp::kSets) {
        syerr_message(kModule, "LCPOpen", "Parm Error", 128, set, kAtParm);
        return 128;
    }
    const localp::SetLayout& s = localp::kLayout[set - 1];
    h->rec_len = s.rec_len;
    h->entry_len = s.entry_len;
    h->key_len = s.key_len;
    h->per_block = static_cast<int16_t>(localp::kBlockBytes / s.rec_len);
    char data_path[kPathSize];
    if (full_path(s.data_name, data_path) != 0 || full_path(s.index_name, h->index_path) != 0) return -1;
    // A set-up a kill interrupted is finished (or undone) first; one that
    // cannot be finished leaves no set to read.
    int32_t err = 0;
    if (settle_commit(data_path, &err) != 0) {
        syerr_message(kModule, "LCPOpen", "commit", 13, err, kAtOpen);
        return -1;
    }
    h->data = plat::fopen(data_path, "rb");
    return h->data != nullptr ? 0 : -1;
}

int LCPKeyRead(LcpHandle* h, const char* key, int16_t n, void* rec) {
    if (h == nullptr) return 11;
    h->end_flag = 0;
    forget_key(h);
    if (h->data == nullptr || !lengths_ok(h)) return fail(h, "fopen", 11, EBADF, kAtOpen);

    // The compare never reaches past the key into the record numbers.
    int len = std::clamp<int>(n, 0, h->key_len);
    int32_t first = -1, sum = 0;
    {
        errno = 0;
        std::FILE* ix = plat::fopen(std::string_view(h->index_path, strnlen(h->index_path, kPathSize)), "rb");
        if (ix == nullptr) return fail(h, "fopen", 11, errno_or(ENOENT), kAtOpen);
        ItemList index{};
        ListFree index_free{&index};
        int32_t entries = 0;
        const char* step = nullptr;
        int32_t place = 0;
        int r = load_index(ix, h->entry_len, &index, &entries, &step, &place);
        int32_t err = errno_or(r == 20 ? ENOMEM : EIO);
        std::fclose(ix);
        if (r != 0) return fail(h, step, r, err, place);
        if (key != nullptr || len == 0) match_entries(&index, entries, h->entry_len, h->key_len, key, len, &first, &sum);
    }
    if (sum == 0) {
        // Not found, or entries that promise no record.
        h->end_flag = 1;
        return 0;
    }

    errno = 0;
    if (fseeko(h->data, static_cast<off_t>(first) * h->rec_len, SEEK_SET) != 0)
        return fail(h, "fseek", 15, errno_or(EIO), kAtSeek);
    for (int32_t left = sum; left > 0;) {
        errno = 0;
        void* item = AddItem(&h->blocks, kBlockItem);
        if (item == nullptr) return fail(h, "AddItem", 20, errno_or(ENOMEM), kAtBlock);
        int32_t want = std::min<int32_t>(left, h->per_block);
        size_t got = std::fread(item_data(item), static_cast<size_t>(h->rec_len), static_cast<size_t>(want), h->data);
        if (got < static_cast<size_t>(want)) return fail(h, "fread", 14, std::ferror(h->data) ? errno_or(EIO) : 0, kAtRead);
        left -= want;
    }
    h->key_records = sum;
    h->cur_block = h->blocks.first;
    h->pos_in_block = 0;
    h->handed_out = 1;
    if (rec != nullptr) std::memcpy(rec, item_data(h->cur_block), static_cast<size_t>(h->rec_len));
    return 0;
}

int LCPSeqRead(LcpHandle* h, void* rec) {
    if (h == nullptr || h->cur_block == nullptr || !lengths_ok(h)) return 20;
    if (h->handed_out + 1 > h->key_records) {
        h->end_flag = 1;
        return 0;
    }
    int16_t pos = static_cast<int16_t>(h->pos_in_block + 1);
    ItemLinks* block = h->cur_block;
    if (pos >= h->per_block) {
        if (block->next == nullptr) {
            h->end_flag = 1;
            return 0;
        }
        block = block->next;
        pos = 0;
    }
    h->cur_block = block;
    h->pos_in_block = pos;
    if (rec != nullptr)
        std::memcpy(rec, item_data(block) + static_cast<size_t>(pos) * h->rec_len, static_cast<size_t>(h->rec_len));
    h->handed_out++;
    return 0;
}

void LCP3PrtNoRead(LcpHandle* h, const char* part_no, void* rec) {
    if (h == nullptr) return;
    // Only set 3 records hold a part number.
    constexpr size_t kEnd = localp::set3::kPart + localp::set3::kPartSize;
    if (part_no == nullptr || !lengths_ok(h) || static_cast<size_t>(h->rec_len) < kEnd) {
        h->end_flag = 1;
        return;
    }
    int32_t i = 0;
    for (ItemLinks* b = h->blocks.first; b != nullptr && i < h->key_records; b = b->next) {
        const unsigned char* data = item_data(b);
        for (int32_t j = 0; j < h->per_block && i < h->key_records; ++j, ++i) {
            const unsigned char* r = data + static_cast<size_t>(j) * h->rec_len;
            if (std::memcmp(r + localp::set3::kPart, part_no, localp::set3::kPartSize) != 0) continue;
            if (rec != nullptr) std::memcpy(rec, r, static_cast<size_t>(h->rec_len));
            h->end_flag = 0;
            return;
        }
    }
    h->end_flag = 1;
}

int LCPClose(LcpHandle* h) {
    if (h == nullptr) return 0;
    forget_key(h);
    if (h->data != nullptr) std::fclose(h->data);
    h->data = nullptr;
    return 0;
}

}  // namespace pxall
