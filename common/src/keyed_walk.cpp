// The key walk down the index levels into the data range, and sequential
// reading. Shared by the catalogue files and the price files; they differ in
// the index entry (ASCII digits or binary) and in a few result codes.
#include <algorithm>
#include <cstring>
#include <limits>

#include "key_compare.h"
#include "keyed_handle.h"
#include "pxall/keyed_file.h"

namespace pxall {

namespace {

// Price files report a key too long with their own detail, and a short data
// block as an open failure.
constexpr int kPriceKeyTooLong = 55;

int fail(int* detail, int code) {
    set_detail(detail, code);
    return 128;
}

int32_t total_blocks(const CdHandle* h) {
    int64_t n = 0;
    for (const auto& s : h->slot) n += s.present;
    return static_cast<int32_t>(std::min<int64_t>(n, std::numeric_limits<int32_t>::max() / 8));
}

// Each block the walk looks at counts; a sound index is walked in far fewer
// looks than four per block of the file, a looping one is stopped.
bool over_budget(CdHandle* h) { return ++h->visits > 4 * total_blocks(h) + 64; }

int data_read_failure(const CdHandle* h, int r) { return (r == 14 && h->kind != kCatalogFile) ? 11 : r; }

// The range an index entry names in the level below (or the data file).
int entry_range(const CdHandle* h, int level, const uint8_t* e, int32_t* first, int32_t* count, int* detail) {
    int64_t f = 0, c = 0;
    if (h->form == IndexForm::kDigits) {
        const uint8_t* d = e + h->slot[level].key_len;
        for (int i = 0; i < keyed::kIndexDigits; ++i) {
            if (d[i] < '0' || d[i] > '9') return fail(detail, cdd::kBadIndexDigits);
            int64_t& v = i < keyed::kIndexBlockDigits ? f : c;
            v = v * 10 + (d[i] - '0');
        }
    } else {
        f = int64_t(e[12]) | int64_t(e[13]) << 8 | int64_t(e[14]) << 16 | int64_t(e[15]) << 24;
        c = int64_t(e[16]) | int64_t(e[17]) << 8;
    }
    int32_t below = level + 1 < h->levels ? h->slot[level + 1].blocks : h->slot[kDataSlot].blocks;
    if (c < 1 || f < 0 || f + c > below) return fail(detail, cdd::kBadRange);
    *first = static_cast<int32_t>(f);
    *count = static_cast<int32_t>(c);
    return 0;
}

// The entry d_search would find, in entries that rise by key: the keys
// below the wanted one come first, then the equal ones, then those above,
// so the first entry of each kind is found by halving.
bool find_ascending(const char* key, int key_len, int key_off, int mask, const uint8_t* base, int32_t n,
                    int32_t rec_len, int* index) {
    if (key_len < 1 || key_off < 0 || n < 1 || key_off + key_len > rec_len) return false;
    auto cmp = [&](int32_t i) { return compare_keys(base + static_cast<size_t>(i) * rec_len + key_off, key, key_len); };
    // A kept block is seldom in the processor's cache: both entries the next
    // step may look at are fetched while this one is compared.
    auto fetch = [&](int32_t i) { __builtin_prefetch(base + static_cast<size_t>(i) * rec_len + key_off); };
    int32_t lo = 0, hi = n;  // first entry not below the key
    while (lo < hi) {
        int32_t mid = lo + (hi - lo) / 2;
        fetch(lo + (mid - lo) / 2);
        fetch(mid + 1 + (hi - mid - 1) / 2);
        if (cmp(mid) < 0) lo = mid + 1;
        else hi = mid;
    }
    const int32_t lower = lo;
    const bool equal = lower < n && cmp(lower) == 0;
    // An entry below the key means the key is above it (the bits are the
    // key's side of the entry).
    if ((mask & keyed::kMaskAbove) && lower > 0) {
        *index = 0;
    } else if ((mask & keyed::kMaskEqual) && equal) {
        *index = lower;
    } else if (mask & keyed::kMaskBelow) {
        // The first entry above the key: past the equal ones, if any.
        hi = n;
        while (equal && lo < hi) {
            int32_t mid = lo + (hi - lo) / 2;
            if (cmp(mid) <= 0) lo = mid + 1;
            else hi = mid;
        }
        if (lo >= n) return false;
        *index = lo;
    } else {
        return false;
    }
    return true;
}

int copy_record(CdHandle* h, void* buf, const uint8_t* rec, int32_t* position) {
    std::memcpy(buf, rec, static_cast<size_t>(h->rec_len));
    if (position != nullptr) *position = h->d_block;
    return 0;
}

int search_keyed_data(void* buf, int32_t* position, CdHandle* h, int* detail) {
    const int32_t rec = h->rec_len;
    if (rec < 1 || rec > h->block_size || h->key_off + h->key_wlen > rec) return fail(detail, cdd::kBadRecordLength);
    const int mask = h->partial ? keyed::kMaskNotBelow : h->mask;
    const bool by_entry = h->secondary && h->levels > 0;
    const FileSlot& last = h->slot[h->levels > 0 ? h->levels - 1 : 0];
    const LevelState& taken = h->lv[h->levels > 0 ? h->levels - 1 : 0];
    while (h->d_left > 0) {
        if (over_budget(h)) return fail(detail, cdd::kWalkTooLong);
        int r = load_block(h, kDataSlot, h->d_block, detail, true);
        if (r != 0) return data_read_failure(h, r);
        const uint8_t* blk = h->slot[kDataSlot].cur;
        const CachedBlock* kept = h->slot[kDataSlot].cur_cached;
        int32_t n = kept != nullptr ? kept->valid : valid_records(blk, h->block_size, rec);
        while (h->d_pos < n) {
            const uint8_t* base = blk + static_cast<size_t>(h->d_pos) * rec;
            int i = 0;
            if (by_entry) {
                // A key set over data in another order: the records of the
                // entry's key, each taken only when it matches the whole key.
                if (!d_search(taken.last_key, last.key_len, h->key_off, keyed::kMaskEqual, base, (n - h->d_pos) * rec, rec, &i))
                    break;
                const uint8_t* r2 = base + static_cast<size_t>(i) * rec;
                h->d_pos += i + 1;
                if (std::memcmp(r2 + h->key_off, h->key, h->key_wlen) == 0) return copy_record(h, buf, r2, position);
                continue;
            }
            bool found = kept != nullptr && kept->ascending
                             ? find_ascending(h->key, h->key_wlen, h->key_off, mask, base, n - h->d_pos, rec, &i)
                             : d_search(h->key, h->key_wlen, h->key_off, mask, base, (n - h->d_pos) * rec, rec, &i);
            if (!found) break;
            h->d_pos += i + 1;
            return copy_record(h, buf, base + static_cast<size_t>(i) * rec, position);
        }
        h->d_block++;
        h->d_left--;
        h->d_pos = 0;
    }
    return -1;
}

int search_sequential(void* buf, int blocks, int32_t* blocks_read, int32_t* position, CdHandle* h, int* detail) {
    if (h->read_mode == 1) {
        if (blocks < 1) return fail(detail, cdd::kBadSlot);
        int32_t n = std::min<int32_t>(blocks, h->d_left);
        if (n <= 0) return -1;
        int r = read_slot_blocks(h, kDataSlot, h->d_block, n, static_cast<uint8_t*>(buf), detail);
        if (r != 0) return data_read_failure(h, r);
        if (blocks_read != nullptr) *blocks_read = n;
        if (position != nullptr) *position = h->d_block;
        h->d_block += n;
        h->d_left -= n;
        return 0;
    }
    const int32_t rec = h->rec_len;
    if (rec < 1 || rec > h->block_size) return fail(detail, cdd::kBadRecordLength);
    while (h->d_left > 0) {
        int r = load_block(h, kDataSlot, h->d_block, detail);
        if (r != 0) return data_read_failure(h, r);
        const uint8_t* blk = h->slot[kDataSlot].cur;
        if (h->d_pos < valid_records(blk, h->block_size, rec)) {
            if (blocks_read != nullptr) *blocks_read = 0;
            copy_record(h, buf, blk + static_cast<size_t>(h->d_pos) * rec, position);
            h->d_pos++;
            return 0;
        }
        h->d_block++;
        h->d_left--;
        h->d_pos = 0;
    }
    return -1;
}

// Down on a match, up when a level is used up, until a record or the end.
int walk(void* buf, int32_t* position, CdHandle* h, int* detail) {
    for (;;) {
        if (h->level == kLevelDone) return -1;
        if (h->level == kLevelData) {
            int r = search_keyed_data(buf, position, h, detail);
            if (r != -1) return r;
            h->level = h->levels > 0 ? h->levels - 1 : kLevelDone;
            continue;
        }
        int r = cdread_search_index(h, detail);
        if (r == 0) continue;
        if (r != -1) return r;
        h->level = h->level > 0 ? h->level - 1 : kLevelDone;
    }
}

bool same_search(const CdHandle* h, const char* key, int key_len) {
    bool walking = h->level == kLevelDone || (h->level >= 0 && h->level <= kLevelData);
    return walking && h->key_wlen == key_len && std::memcmp(h->key, key, key_len) == 0;
}

}  // namespace

int cdread_initial_set(const char* key, int key_len, CdHandle* h, LevelState* levels, int* detail) {
    set_detail(detail, 0);
    if (h == nullptr) return fail(detail, cdd::kNoHandle);
    int too_long = h->kind == kCatalogFile ? cdd::kKeyTooLong : kPriceKeyTooLong;
    if (key == nullptr || key_len < 1 || key_len > h->key_len || key_len > keyed::kMaxKey) return fail(detail, too_long);
    reset_search(h);
    if (!h->stamps.empty()) check_index_cache(h);
    std::memcpy(h->key, key, key_len);
    h->key_wlen = key_len;
    h->partial = key_len < h->key_len;
    int n = key_len;
    if (h->form == IndexForm::kDigits)
        n = keyed::index_key_form(h->file_id, key, key_len, h->idx_key);
    else
        std::memcpy(h->idx_key, key, key_len);
    h->cmp_len = std::min(n, h->idx_key_len);
    h->d_block = h->d_left = h->d_pos = 0;
    if (h->levels > 0) {
        h->lv[0].block = 0;
        h->lv[0].left = h->slot[0].blocks;
        h->level = 0;
    } else {
        h->d_left = h->slot[kDataSlot].blocks;
        h->level = kLevelData;
    }
    if (levels != nullptr) std::memcpy(levels, h->lv, sizeof h->lv);
    return 0;
}

int cdread_search_index(CdHandle* h, int* detail) {
    if (h == nullptr) return fail(detail, cdd::kNoHandle);
    const int L = h->level;
    if (L < 0 || L >= h->levels) return -1;
    FileSlot& s = h->slot[L];
    LevelState& st = h->lv[L];
    const int mask = h->partial ? keyed::kMaskNotBelow : s.mask;
    if (st.has_last) {
        int c = compare_keys(st.last_key, h->idx_key, h->cmp_len);
        if (c > 0) return -1;
        // An equal-key level names each key once: taking it again would
        // walk the same range for ever.
        if (mask == keyed::kMaskEqual && h->cmp_len == s.key_len && c == 0 && !h->secondary) return -1;
    }
    while (st.left > 0) {
        if (over_budget(h)) return fail(detail, cdd::kWalkTooLong);
        int r = load_block(h, L, st.block, detail);
        if (r != 0) return r;
        const CachedBlock* kept = s.cur_cached;
        int32_t n = kept != nullptr ? kept->valid : valid_records(s.cur, h->block_size, s.rec_len);
        if (st.pos < n) {
            const uint8_t* base = s.cur + static_cast<size_t>(st.pos) * s.rec_len;
            int i = 0;
            bool found = kept != nullptr && kept->ascending
                             ? find_ascending(h->idx_key, h->cmp_len, 0, mask, base, n - st.pos, s.rec_len, &i)
                             : d_search(h->idx_key, h->cmp_len, 0, mask, base, (n - st.pos) * s.rec_len, s.rec_len, &i);
            if (found) {
                const uint8_t* e = base + static_cast<size_t>(i) * s.rec_len;
                int32_t first = 0, count = 0;
                r = entry_range(h, L, e, &first, &count, detail);
                if (r != 0) return r;
                st.pos += i + 1;
                std::memcpy(st.last_key, e, std::min<int32_t>(s.key_len, keyed::kMaxKey));
                st.has_last = 1;
                if (L + 1 < h->levels) {
                    h->lv[L + 1] = LevelState{first, count, 0, 0, {}};
                    h->level = L + 1;
                } else {
                    h->d_block = first;
                    h->d_left = count;
                    h->d_pos = 0;
                    h->level = kLevelData;
                }
                return 0;
            }
        }
        if (L == 0) return -1;  // the top level is one block
        st.block++;
        st.left--;
        st.pos = 0;
    }
    return -1;
}

int cdread_search_data(void* buf, int blocks, int32_t* blocks_read, int32_t* position, CdHandle* h, int* detail) {
    if (h == nullptr) return fail(detail, cdd::kNoHandle);
    if (buf == nullptr) return fail(detail, cdd::kBadSlot);
    if (h->level == kLevelSequential) return search_sequential(buf, blocks, blocks_read, position, h, detail);
    if (h->level == kLevelData) return search_keyed_data(buf, position, h, detail);
    return fail(detail, cdd::kBadSlot);
}

int cdread(void* buf, const char* key, int key_len, int blocks, int32_t* blocks_read, int32_t* position, CdHandle* h,
           int* detail) {
    set_detail(detail, 0);
    if (h == nullptr) return fail(detail, cdd::kNoHandle);
    if (buf == nullptr) return fail(detail, cdd::kBadSlot);
    h->visits = 0;
    if (blocks_read != nullptr) *blocks_read = 0;
    if (key == nullptr || key_len < 1) {
        if (h->level != kLevelSequential) {
            reset_search(h);
            h->level = kLevelSequential;
            h->d_left = h->slot[kDataSlot].blocks;
        }
        return search_sequential(buf, blocks, blocks_read, position, h, detail);
    }
    if (key_len > h->key_len || key_len > keyed::kMaxKey)
        return fail(detail, h->kind == kCatalogFile ? cdd::kKeyTooLong : kPriceKeyTooLong);
    if (h->slot[kDataSlot].blocks == 0) return -1;
    if (!same_search(h, key, key_len)) {
        int r = cdread_initial_set(key, key_len, h, nullptr, detail);
        if (r != 0) return r;
    }
    return walk(buf, position, h, detail);
}

int cdseek_key(const char* key, int key_len, CdHandle* h, int* detail) {
    set_detail(detail, 0);
    if (h == nullptr || key == nullptr || key_len < 1) return fail(detail, cdd::kSeekKeyArgument);
    if (key_len > h->key_len || key_len > keyed::kMaxKey) return fail(detail, cdd::kKeyTooLong);
    if (h->slot[kDataSlot].blocks == 0) return -1;
    int r = cdread_initial_set(key, key_len, h, nullptr, detail);
    if (r != 0) return r;
    h->visits = 0;
    std::vector<uint8_t> scratch(static_cast<size_t>(std::max<int32_t>(h->rec_len, 1)));
    r = walk(scratch.data(), nullptr, h, detail);
    if (r != 0) return r;
    int32_t block = h->d_block;
    reset_search(h);
    h->level = kLevelSequential;
    h->d_block = block;
    h->d_left = h->slot[kDataSlot].blocks - block;
    return 0;
}

}  // namespace pxall
