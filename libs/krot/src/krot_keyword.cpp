// The keyword route: every part-name code of the vehicle's catalogue whose
// part name contains the keyword, and the selection made from that list.
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "krot/krot.h"
#include "krot/search_route_layout.h"
#include "krot_internal.h"
#include "pxall/blocks.h"
#include "pxall/find_bytes.h"
#include "pxall/index_layout.h"
#include "pxall/keyed_layout.h"
#include "pxall/part_records.h"
#include "pxall/selection.h"

using namespace pxkrot;

namespace {

constexpr const char* kFnLoad = "VBKkwdLoad";
constexpr const char* kFnSelect = "VBKkwdWriteSelectTmp";
constexpr size_t kKeywordMax = 20;
constexpr int32_t kBlock = pxall::keyed::kBlockSize;

// A code as a number that orders as its bytes do.
uint64_t key_of(const uint8_t* p) {
    static_assert(pxall::hcodeh::kPncSize == 6, "a code is 4 + 2 bytes");
    uint32_t hi = 0;
    uint16_t lo = 0;
    std::memcpy(&hi, p, 4);
    std::memcpy(&lo, p + 4, 2);
    return static_cast<uint64_t>(__builtin_bswap32(hi)) << 16 | __builtin_bswap16(lo);
}

// The codes whose part name holds the keyword, in key order, with their
// names: the names file, read whole, is searched in one pass, a find mapped
// to its block and record. A code's name is the first record of the code in
// the file.
class NameHits {
public:
    NameHits(const char* keyword, size_t len) : keyword_(keyword, len) {}

    void scan(const uint8_t* names, int32_t blocks) {
        names_file_ = names;
        const size_t k = keyword_.size(), end = static_cast<size_t>(blocks) * kBlock;
        if (k == 0) {
            // No keyword: every name is a find.
            for (int32_t b = 0; b < blocks; ++b) {
                const uint8_t* block = names + static_cast<size_t>(b) * kBlock;
                for (size_t r = 0, n = in_use(block); r < n; ++r) take(block + r * kRec);
            }
        } else {
            size_t known = SIZE_MAX, used = 0;  // the block whose records in use are counted
            pxall::find_each(names, end, reinterpret_cast<const uint8_t*>(keyword_.data()), k, [&](size_t o) {
                const size_t b = o / kBlock, in = o % kBlock;
                const size_t r = in / kRec, off = in % kRec;
                // A match counts only inside a name.
                if (r >= kPerBlock || off < pxall::hinmei_rec::kName || off + k > kRec) return o + 1;
                if (b != known) {
                    known = b;
                    used = in_use(names + b * kBlock);
                }
                if (r >= used) return (b + 1) * kBlock;  // the rest of the block is out of use
                take(names + b * kBlock + r * kRec);
                return b * kBlock + (r + 1) * kRec;  // the record is a find: on with the next
            });
        }
        // Kept in key order for the look-ups; a file out of order keeps its
        // first record of each code.
        if (!std::is_sorted(keys_.begin(), keys_.end())) sort_by_key();
    }

    bool empty() const { return keys_.empty(); }

    // The name (60 bytes) of a code whose name holds the keyword, or null.
    // Codes asked in ascending order are found by stepping forward.
    const uint8_t* find(uint64_t key) {
        if (cur_ > 0 && keys_[cur_ - 1] >= key)
            cur_ = static_cast<size_t>(std::lower_bound(keys_.begin(), keys_.end(), key) - keys_.begin());
        while (cur_ < keys_.size() && keys_[cur_] < key) ++cur_;
        if (cur_ == keys_.size() || keys_[cur_] != key) return nullptr;
        return names_[cur_];
    }

    // After find: the codes strictly between *lo and *hi are found in no
    // name, so the caller can pass them by without asking (0 and the
    // largest number stand for no code).
    void miss_window(uint64_t key, uint64_t* lo, uint64_t* hi) const {
        const bool found = cur_ < keys_.size() && keys_[cur_] == key;
        const size_t above = found ? cur_ + 1 : cur_;  // the first code above the key
        *lo = found ? key : (cur_ > 0 ? keys_[cur_ - 1] : 0);
        *hi = above < keys_.size() ? keys_[above] : UINT64_MAX;
    }

private:
    static constexpr size_t kRec = pxall::hinmei_rec::kSize;
    static constexpr size_t kPerBlock = static_cast<size_t>(kBlock) / kRec;

    // The records of a block in use: those before the first starting NUL.
    static size_t in_use(const uint8_t* block) {
        size_t n = 0;
        while (n < kPerBlock && block[n * kRec] != 0) ++n;
        return n;
    }

    // A record whose name holds the keyword: kept unless an earlier record
    // of the file has the same code (the first record names the code).
    void take(const uint8_t* rec) {
        const uint64_t key = key_of(rec);
        if (!keys_.empty() && keys_.back() == key) return;
        if (prev_of(rec, key)) return;
        keys_.push_back(key);
        names_.push_back(rec + pxall::hinmei_rec::kName);
    }

    // Whether the record before this one in the file has the same code.
    bool prev_of(const uint8_t* rec, uint64_t key) const {
        const size_t o = static_cast<size_t>(rec - names_file_);
        const size_t b = o / kBlock, r = o % kBlock / kRec;
        if (r > 0) return key_of(rec - kRec) == key;
        for (size_t pb = b; pb-- > 0;) {
            const uint8_t* block = names_file_ + pb * kBlock;
            if (size_t n = in_use(block); n > 0) return key_of(block + (n - 1) * kRec) == key;
        }
        return false;
    }

    void sort_by_key() {
        std::vector<size_t> order(keys_.size());
        for (size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return keys_[a] < keys_[b]; });
        std::vector<uint64_t> keys;
        std::vector<const uint8_t*> names;
        for (size_t i : order) {
            if (!keys.empty() && keys.back() == keys_[i]) continue;
            keys.push_back(keys_[i]);
            names.push_back(names_[i]);
        }
        keys_.swap(keys);
        names_.swap(names);
    }

    std::string keyword_;
    const uint8_t* names_file_ = nullptr;
    std::vector<uint64_t> keys_;       // the codes found
    std::vector<const uint8_t*> names_;  // and their names in the file
    size_t cur_ = 0;
};

namespace hc = pxall::hcodeh;
static_assert(hc::kSize == 16 && hc::kPnc == 10 && hc::kPncSize == 6, "a header record ends with its code");

// Whether a header record's code lies strictly between lo and hi (and the
// record is in use: a first byte and a code that do not start with NUL).
inline bool passes(const uint8_t* rec, uint64_t lo, uint64_t hi) {
    // The record's last eight bytes, the code in the low six once swapped.
    uint64_t tail = 0;
    std::memcpy(&tail, rec + hc::kSize - 8, 8);
    const uint64_t code = __builtin_bswap64(tail) & 0xFFFFFFFFFFFFull;
    return rec[0] != 0 && (code >> 40) != 0 && lo < code && code < hi;
}

#if defined(__SSE2__) && defined(__GNUC__)
// pass_by two records a step: each record's code (bytes 10-15, high byte
// first) and its first byte are shuffled into two 64-bit numbers and
// compared at once. The codes are below 2^48, so signed compares hold.
__attribute__((target("avx2"))) size_t pass_by_wide(const uint8_t* block, size_t at, uint64_t lo, uint64_t hi) {
    const int64_t top = static_cast<int64_t>(std::min<uint64_t>(hi, INT64_MAX));
    // A code must also be at least 2^40 (its first byte not NUL).
    const int64_t low = static_cast<int64_t>(std::max<uint64_t>(lo, (uint64_t{1} << 40) - 1));
    const __m256i shuffle = _mm256_setr_epi8(15, 14, 13, 12, 11, 10, -1, -1, 0, -1, -1, -1, -1, -1, -1, -1,  //
                                             15, 14, 13, 12, 11, 10, -1, -1, 0, -1, -1, -1, -1, -1, -1, -1);
    // Per record: the code above `low` and below `top`, the first byte above 0.
    const __m256i above = _mm256_setr_epi64x(low, 0, low, 0);
    const __m256i below = _mm256_setr_epi64x(top, INT64_MAX, top, INT64_MAX);
    for (; at + 32 <= static_cast<size_t>(kBlock); at += 32) {
        const __m256i v = _mm256_shuffle_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(block + at)), shuffle);
        const __m256i ok = _mm256_and_si256(_mm256_cmpgt_epi64(v, above), _mm256_cmpgt_epi64(below, v));
        const int bits = _mm256_movemask_pd(_mm256_castsi256_pd(ok));
        if (bits != 0xF) return (bits & 3) == 3 ? at + hc::kSize : at;
    }
    return at;
}
#endif

// The offset of the first header record of the block from `at` on that ends
// the block's records (starting NUL or without its code) or whose code is
// not strictly between lo and hi, or the block's end. Most codes of a
// search are passed by here, so it is kept tight.
size_t pass_by(const uint8_t* block, size_t at, uint64_t lo, uint64_t hi) {
    // Where codes are found close together, the first record mostly ends it.
    if (at + hc::kSize > static_cast<size_t>(kBlock) || !passes(block + at, lo, hi)) return at;
#if defined(__SSE2__) && defined(__GNUC__)
    if (pxall::find_bytes_detail::has_wide()) at = pass_by_wide(block, at, lo, hi);
#endif
    while (at + hc::kSize <= static_cast<size_t>(kBlock) && passes(block + at, lo, hi)) at += hc::kSize;
    return at;
}

// What a load holds open; closed on every way out.
struct Held {
    pxall::CdHandle* h = nullptr;
    TextFile out;
    ~Held() {
        int d = 0;
        pxall::cdclose(&h, &d);
    }
};

std::string keyword_of(const char* s) {
    std::string k(s == nullptr ? "" : s, s == nullptr ? 0 : strnlen(s, kKeywordMax));
    while (!k.empty() && k.back() == ' ') k.pop_back();
    return k;
}

}  // namespace

extern "C" int32_t VBKkwdLoad(const char* keyword, int16_t* count, VbString* path, int16_t* status) {
    int16_t dummy_count = 0, dummy_status = 0;
    if (count == nullptr) count = &dummy_count;
    if (status == nullptr) status = &dummy_status;
    *count = 0;
    *status = 0;

    // Both files are read whole; a file read before and not changed since
    // is found in memory (cdread_whole).
    pxall::WholeFile codes;
    {
        Held hc;
        int detail = 0;
        int r = open_catalog_file(pxall::hcodeh::kFileName, true, vehicle_setup(), 1, &hc.h, &detail);
        if (r == 4) {
            *status = kCdMissing;
            return 0;
        }
        if (r != 0) return fail_logged(kModKeyword, kFnLoad, "cdopen", r, detail, 11);
        r = pxall::cdread_whole(hc.h, &codes, &detail);
        if (r == 20) return fail_logged(kModKeyword, kFnLoad, "AddItem", 20, 0, 13);
        if (r != 0) return fail_logged(kModKeyword, kFnLoad, "cdread", r, detail, 12);
    }

    Held names;
    char name_file[16];
    part_name_file(name_file);
    int detail = 0;
    int r = open_catalog_file(name_file, false, vehicle_setup(), 1, &names.h, &detail);
    if (r != 0) return fail_logged(kModKeyword, kFnLoad, name_file, r, detail, 14);

    char file[pxall::kPathSize];
    if (int p = work_path(kkwd::kFileName, file); p != 0)
        return fail_logged(kModKeyword, kFnLoad, "get_path_name", p, 0, 15);
    if (!names.out.open(file)) return fail_logged(kModKeyword, kFnLoad, "fopen", 11, errno, 16);

    const std::string key = keyword_of(keyword);
    NameHits found(key.data(), key.size());
    pxall::WholeFile name_blocks;
    try {
        // Without a code there is nothing to look up.
        if (codes.blocks > 0) {
            r = pxall::cdread_whole(names.h, &name_blocks, &detail);
            if (r == 20) return fail_logged(kModKeyword, kFnLoad, "AddItem", 20, 0, 13);
            if (r != 0) return fail_logged(kModKeyword, kFnLoad, name_file, r, detail, 17);
            found.scan(name_blocks.bytes.get(), name_blocks.blocks);
        }
    } catch (const std::bad_alloc&) {
        return fail_logged(kModKeyword, kFnLoad, "AddItem", 20, 0, 13);
    }

    // The codes in file order; a block's records end at one starting NUL or
    // without its code.
    int32_t hits = 0;
    // Most codes have no find: those between two codes found are passed by
    // on a compare (pass_by).
    uint64_t lo = 0, hi = 0;
    for (int32_t b = 0; b < codes.blocks && !found.empty(); ++b) {
        const uint8_t* block = codes.bytes.get() + static_cast<size_t>(b) * kBlock;
        for (size_t i = 0;; i += hc::kSize) {
            i = pass_by(block, i, lo, hi);
            if (i + hc::kSize > static_cast<size_t>(kBlock)) break;
            const uint8_t* rec = block + i;
            if (rec[0] == 0 || rec[hc::kPnc] == 0) break;
            const uint64_t code = key_of(rec + hc::kPnc);
            const uint8_t* name = found.find(code);
            found.miss_window(code, &lo, &hi);
            if (name == nullptr) continue;
            const bool put = names.out.put_with(kkwd::kLineLen, [&](char* line) {
                std::memset(line, ' ', kkwd::kLineLen);
                std::memcpy(line + kkwd::kName, name, kkwd::kNameSize);
                std::memcpy(line + kkwd::kPnc, rec + hc::kPnc, kkwd::kPncSize);
                std::memcpy(line + kkwd::kFigure, rec + hc::kFigure, kkwd::kFigureSize);
            });
            if (!put) return fail_logged(kModKeyword, kFnLoad, "fputs", 13, errno, 18);
            ++hits;
        }
    }
    if (!names.out.close()) return fail_logged(kModKeyword, kFnLoad, "fputs", 13, errno, 19);
    // The count is 16-bit: a larger list stays whole in the file.
    *count = static_cast<int16_t>(std::min<int32_t>(hits, INT16_MAX));
    give_string(path, file, std::strlen(file));
    return 0;
}

extern "C" int32_t VBKkwdWriteSelectTmp(int32_t list, int16_t* status) {
    int16_t dummy = 0;
    if (status == nullptr) status = &dummy;
    *status = 0;
    // Both lists start empty and are freed on every way out.
    struct Lists {
        Lists() {
            pxall::term_selfgn();
            pxall::TermSelTmp();
        }
        ~Lists() {
            pxall::term_selfgn();
            pxall::TermSelTmp();
        }
    } lists;

    const int32_t n = list_count(list);
    for (int32_t i = 0; i < n; ++i) {
        if (!list_selected(list, i)) continue;
        const std::string text = list_line(list, i, kkwd::kLineLen);
        const char* figure = text.data() + kkwd::kFigure;
        if (pxall::search_selfgn(figure) == nullptr) {
            int r = pxall::set_selfgn(figure);
            if (r == 1) {
                *status = 1;
                return 0;
            }
            if (r != 0) return fail_logged(kModKeyword, kFnSelect, "set_selfgn", r, 0, 21);
        }
        char code[12];
        std::memset(code, ' ', sizeof code);
        std::memcpy(code, text.data() + kkwd::kPnc, kkwd::kPncSize);
        if (pxall::SearchSelTmp(code) == nullptr) {
            int r = pxall::SetSelTmp(code, "01");
            if (r == 1) {
                *status = 2;
                return 0;
            }
            if (r != 0) return fail_logged(kModKeyword, kFnSelect, "SetSelTmp", r, 0, 22);
        }
    }
    int16_t written = 0;
    VBwrite_figno(&written);
    if (int32_t r = VBWriteSelectTmp(); r != 0)
        return fail_logged(kModKeyword, kFnSelect, "VBWriteSelectTmp", r, 0, 23);
    return 0;
}
