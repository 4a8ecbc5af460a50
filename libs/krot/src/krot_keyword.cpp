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

constexpr int kRun = 128;  // blocks read at once

// A code as a number that orders as its bytes do.
uint64_t key_of(const uint8_t* p) {
    static_assert(pxall::hcodeh::kPncSize == 6, "a code is 4 + 2 bytes");
    uint32_t hi = 0;
    uint16_t lo = 0;
    std::memcpy(&hi, p, 4);
    std::memcpy(&lo, p + 4, 2);
    return static_cast<uint64_t>(__builtin_bswap32(hi)) << 16 | __builtin_bswap16(lo);
}

// The blocks of HCODEH.DAT as read, in file order: the codes are taken from
// them only once the names that hold the keyword are known, so that no
// table of every code is built. Kept run by run, as read: no run is moved
// or cleared once read.
struct CodeBlocks {
    std::vector<std::unique_ptr<uint8_t[]>> runs;  // kRun blocks each
    int32_t blocks = 0;

    const uint8_t* block(int32_t b) const {
        return runs[static_cast<size_t>(b / kRun)].get() + static_cast<size_t>(b % kRun) * kBlock;
    }
};

// The codes whose part name holds the keyword, in key order, with their
// names: the names file is read in runs of blocks and each run searched in
// one pass, a find mapped to its block and record. A code's name is the
// first record of the code in the file.
class NameHits {
public:
    NameHits(const char* keyword, size_t len) : keyword_(keyword, len), buf_(new uint8_t[static_cast<size_t>(kRun) * kBlock]) {}

    // Reads and searches the whole file: 0 or the failing code.
    int scan(pxall::CdHandle* h, int* detail) {
        for (;;) {
            int32_t got = 0;
            int r = pxall::cdread(buf_.get(), nullptr, 0, kRun, &got, nullptr, h, detail);
            if (r == -1) break;
            if (r != 0) return r;
            if (got < 1) break;
            search_run(std::min(got, kRun));
        }
        // Kept in key order for the look-ups; a file out of order keeps its
        // first record of each code.
        if (!std::is_sorted(keys_.begin(), keys_.end())) sort_by_key();
        return 0;
    }

    // The name (60 bytes) of a code whose name holds the keyword, or null.
    // Codes asked in ascending order are found by stepping forward.
    const uint8_t* find(uint64_t key) {
        if (cur_ > 0 && keys_[cur_ - 1] >= key)
            cur_ = static_cast<size_t>(std::lower_bound(keys_.begin(), keys_.end(), key) - keys_.begin());
        while (cur_ < keys_.size() && keys_[cur_] < key) ++cur_;
        if (cur_ == keys_.size() || keys_[cur_] != key) return nullptr;
        return names_.data() + cur_ * kNameSize;
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
    static constexpr size_t kNameSize = pxall::hinmei_rec::kNameSize;

    // The records of a block in use: those before the first starting NUL.
    static size_t in_use(const uint8_t* block) {
        size_t n = 0;
        while (n < kPerBlock && block[n * kRec] != 0) ++n;
        return n;
    }

    void search_run(int32_t blocks) {
        const uint8_t* run = buf_.get();
        const size_t k = keyword_.size(), end = static_cast<size_t>(blocks) * kBlock;
        if (k == 0) {
            // No keyword: every name is a find.
            for (int32_t b = 0; b < blocks; ++b) {
                const uint8_t* block = run + static_cast<size_t>(b) * kBlock;
                for (size_t r = 0, n = in_use(block); r < n; ++r) take(block + r * kRec);
            }
        }
        size_t at = 0;
        size_t known = SIZE_MAX, used = 0;  // the block whose records in use are counted
        while (k > 0 && at + k <= end) {
            const uint8_t* p =
                pxall::find_bytes(run + at, end - at, reinterpret_cast<const uint8_t*>(keyword_.data()), k);
            if (p == nullptr) break;
            const size_t o = static_cast<size_t>(p - run);
            const size_t b = o / kBlock, in = o % kBlock;
            const size_t r = in / kRec, off = in % kRec;
            // A match counts only inside a name.
            if (r >= kPerBlock || off < pxall::hinmei_rec::kName || off + k > kRec) {
                at = o + 1;
                continue;
            }
            if (b != known) {
                known = b;
                used = in_use(run + b * kBlock);
            }
            if (r >= used) {
                at = (b + 1) * kBlock;  // the rest of the block is out of use
                continue;
            }
            take(run + b * kBlock + r * kRec);
            at = b * kBlock + (r + 1) * kRec;  // the record is a find: on with the next
        }
        // The last code of the run, for a find at the start of the next one.
        for (int32_t b = blocks - 1; b >= 0; --b) {
            const uint8_t* block = run + static_cast<size_t>(b) * kBlock;
            if (size_t n = in_use(block); n > 0) {
                last_key_ = key_of(block + (n - 1) * kRec);
                has_last_ = true;
                break;
            }
        }
    }

    // A record whose name holds the keyword: kept unless an earlier record
    // of the file has the same code (the first record names the code).
    void take(const uint8_t* rec) {
        const uint64_t key = key_of(rec);
        if (!keys_.empty() && keys_.back() == key) return;
        if (prev_of(rec, key)) return;
        keys_.push_back(key);
        names_.insert(names_.end(), rec + pxall::hinmei_rec::kName, rec + pxall::hinmei_rec::kName + kNameSize);
    }

    // Whether the record before this one in the file has the same code.
    bool prev_of(const uint8_t* rec, uint64_t key) const {
        const size_t o = static_cast<size_t>(rec - buf_.get());
        const size_t b = o / kBlock, r = o % kBlock / kRec;
        if (r > 0) return key_of(rec - kRec) == key;
        for (size_t pb = b; pb-- > 0;) {
            const uint8_t* block = buf_.get() + pb * kBlock;
            if (size_t n = in_use(block); n > 0) return key_of(block + (n - 1) * kRec) == key;
        }
        return has_last_ && last_key_ == key;
    }

    void sort_by_key() {
        std::vector<size_t> order(keys_.size());
        for (size_t i = 0; i < order.size(); ++i) order[i] = i;
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return keys_[a] < keys_[b]; });
        std::vector<uint64_t> keys;
        std::vector<uint8_t> names;
        for (size_t i : order) {
            if (!keys.empty() && keys.back() == keys_[i]) continue;
            keys.push_back(keys_[i]);
            names.insert(names.end(), names_.begin() + static_cast<std::ptrdiff_t>(i * kNameSize),
                         names_.begin() + static_cast<std::ptrdiff_t>((i + 1) * kNameSize));
        }
        keys_.swap(keys);
        names_.swap(names);
    }

    std::string keyword_;
    std::unique_ptr<uint8_t[]> buf_;  // a run of blocks, filled by each read
    std::vector<uint64_t> keys_;  // the codes found
    std::vector<uint8_t> names_;  // and their names, kNameSize bytes each
    uint64_t last_key_ = 0;       // the last code of the runs searched
    bool has_last_ = false;
    size_t cur_ = 0;
};

// The offset of the first header record of the block from `at` on that ends
// the block's records (starting NUL or without its code) or whose code is
// not strictly between lo and hi, or the block's end. Kept apart so that
// the loop over every code stays in registers.
__attribute__((noinline)) size_t pass_by(const uint8_t* block, size_t at, uint64_t lo, uint64_t hi) {
    namespace hc = pxall::hcodeh;
    for (; at + hc::kSize <= static_cast<size_t>(kBlock); at += hc::kSize) {
        const uint8_t* rec = block + at;
        if (rec[0] == 0 || rec[hc::kPnc] == 0) break;
        const uint64_t code = key_of(rec + hc::kPnc);
        if (!(lo < code && code < hi)) break;
    }
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

// Reads the blocks of HCODEH.DAT in runs: 0 or the logged code.
int32_t read_codes(pxall::CdHandle* h, CodeBlocks* codes) {
    try {
        for (;;) {
            int detail = 0;
            int32_t got = 0;
            std::unique_ptr<uint8_t[]> run(new uint8_t[static_cast<size_t>(kRun) * kBlock]);
            int r = pxall::cdread(run.get(), nullptr, 0, kRun, &got, nullptr, h, &detail);
            if (r == -1) return 0;
            if (r != 0) return fail_logged(kModKeyword, kFnLoad, "cdread", r, detail, 12);
            if (got < 1) return 0;
            codes->runs.push_back(std::move(run));
            codes->blocks += std::min(got, kRun);
            // A short run is the last.
            if (got < kRun) return 0;
        }
    } catch (const std::bad_alloc&) {
        return fail_logged(kModKeyword, kFnLoad, "AddItem", 20, 0, 13);
    }
}

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

    CodeBlocks codes;
    {
        Held hc;
        int detail = 0;
        int r = open_catalog_file(pxall::hcodeh::kFileName, true, vehicle_setup(), 1, &hc.h, &detail);
        if (r == 4) {
            *status = kCdMissing;
            return 0;
        }
        if (r != 0) return fail_logged(kModKeyword, kFnLoad, "cdopen", r, detail, 11);
        if (int32_t f = read_codes(hc.h, &codes); f != 0) return f;
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
    try {
        // Without a code there is nothing to look up.
        if (codes.blocks > 0 && (r = found.scan(names.h, &detail)) != 0)
            return fail_logged(kModKeyword, kFnLoad, name_file, r, detail, 17);
    } catch (const std::bad_alloc&) {
        return fail_logged(kModKeyword, kFnLoad, "AddItem", 20, 0, 13);
    }

    // The codes in file order; a block's records end at one starting NUL or
    // without its code.
    namespace hc = pxall::hcodeh;
    int32_t hits = 0;
    std::string line(kkwd::kLineLen, ' ');
    // Most codes have no find: those between two codes found are passed by
    // on a compare (pass_by).
    uint64_t lo = 0, hi = 0;
    for (int32_t b = 0; b < codes.blocks; ++b) {
        const uint8_t* block = codes.block(b);
        for (size_t i = 0;; i += hc::kSize) {
            i = pass_by(block, i, lo, hi);
            if (i + hc::kSize > static_cast<size_t>(kBlock)) break;
            const uint8_t* rec = block + i;
            if (rec[0] == 0 || rec[hc::kPnc] == 0) break;
            const uint64_t code = key_of(rec + hc::kPnc);
            const uint8_t* name = found.find(code);
            found.miss_window(code, &lo, &hi);
            if (name == nullptr) continue;
            line.replace(kkwd::kName, kkwd::kNameSize, reinterpret_cast<const char*>(name), kkwd::kNameSize);
            line.replace(kkwd::kPnc, kkwd::kPncSize, reinterpret_cast<const char*>(rec + hc::kPnc), kkwd::kPncSize);
            line.replace(kkwd::kFigure, kkwd::kFigureSize, reinterpret_cast<const char*>(rec + hc::kFigure),
                         kkwd::kFigureSize);
            if (!names.out.put(line)) return fail_logged(kModKeyword, kFnLoad, "fputs", 13, errno, 18);
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
