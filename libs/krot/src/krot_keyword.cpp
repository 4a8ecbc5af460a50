// The keyword route: every part-name code of the vehicle's catalogue whose
// part name contains the keyword, and the selection made from that list.
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "krot/krot.h"
#include "krot/search_route_layout.h"
#include "krot_internal.h"
#include "pxall/blocks.h"
#include "pxall/index_layout.h"
#include "pxall/itemlist.h"
#include "pxall/keyed_layout.h"
#include "pxall/part_records.h"
#include "pxall/selection.h"

using namespace pxkrot;

namespace {

constexpr const char* kFnLoad = "VBKkwdLoad";
constexpr const char* kFnSelect = "VBKkwdWriteSelectTmp";
constexpr size_t kKeywordMax = 20;
constexpr int32_t kBlock = pxall::keyed::kBlockSize;

// The keyword work table: the codes of HCODEH.DAT in file order, in items of
// kSlots codes followed, slot for slot, by their figure numbers. The first
// code byte of an unused slot is NUL.
constexpr int kSlots = 2000;
constexpr size_t kCodesAt = pxall::kItemDataOffset;
constexpr size_t kFiguresAt = kCodesAt + kSlots * pxall::hcodeh::kPncSize;
constexpr int kItemSize = static_cast<int>(kFiguresAt + kSlots * pxall::hcodeh::kFigureSize);

struct CodeTable {
    pxall::ItemList items{};
    int32_t count = 0;  // codes held
    ~CodeTable() { pxall::AllDeleteItem(&items); }

    // Appends a code and its figure: false when out of memory.
    bool add(const uint8_t* pnc, const uint8_t* figure) {
        const int slot = count % kSlots;
        if (slot == 0 && pxall::AddItem(&items, kItemSize) == nullptr) return false;
        auto* item = reinterpret_cast<uint8_t*>(items.last);
        std::memcpy(item + kCodesAt + slot * pxall::hcodeh::kPncSize, pnc, pxall::hcodeh::kPncSize);
        std::memcpy(item + kFiguresAt + slot * pxall::hcodeh::kFigureSize, figure, pxall::hcodeh::kFigureSize);
        ++count;
        return true;
    }
};

// The part names of the codes, read from the part-name file in runs of
// blocks. The codes arrive in key order, as the file holds the names, so a
// run read in sequence serves a stretch of codes; a code outside the run and
// the next one is looked up by its key. The keyword is looked for once per
// run, over each block's records at once.
class NameBlocks {
public:
    NameBlocks(pxall::CdHandle* h, const char* keyword, size_t len)
        : h_(h), keyword_(keyword, len), buf_(static_cast<size_t>(kRun) * kBlock) {}

    // 0 with *name (60 bytes) and *hit set, -1 when the code has no name, or
    // the catalogue-file code with its detail.
    int find(const uint8_t* pnc, const uint8_t** name, bool* hit, int* detail) {
        const uint64_t key = key_of(pnc);
        if (!holds(key)) {
            int r = -1;
            // Just past the run: the next run in sequence.
            if (!keys_.empty() && !at_end_ && key > keys_.back()) {
                r = next_run(detail);
                if (r != 0 && r != -1) return r;
            }
            if (!holds(key)) {
                r = pxall::cdseek_key(reinterpret_cast<const char*>(pnc), pxall::kPncSize, h_, detail);
                if (r != 0) return r;
                at_end_ = false;
                r = next_run(detail);
                if (r != 0) return r;
                if (!holds(key)) return -1;
            }
        }
        // Forward from the last code found; back by halves when the codes
        // do not ascend.
        if (cur_ >= keys_.size() || keys_[cur_] > key)
            cur_ = static_cast<size_t>(std::lower_bound(keys_.begin(), keys_.end(), key) - keys_.begin());
        while (cur_ < keys_.size() && keys_[cur_] < key) ++cur_;
        if (cur_ == keys_.size() || keys_[cur_] != key) return -1;
        *name = recs_[cur_] + pxall::hinmei_rec::kName;
        *hit = hits_[cur_];
        return 0;
    }

private:
    static constexpr int kRec = static_cast<int>(pxall::hinmei_rec::kSize);
    static constexpr int kPerBlock = kBlock / kRec;
    static constexpr int kRun = 32;  // blocks read at once

    // A code as a number that orders as its bytes do.
    static uint64_t key_of(const uint8_t* p) {
        uint64_t v = 0;
        for (size_t i = 0; i < pxall::kPncSize; ++i) v = v << 8 | p[i];
        return v;
    }

    // Whether the code lies between the first and the last key of the run
    // (the file is in key order, so it is there or nowhere).
    bool holds(uint64_t key) const { return !keys_.empty() && key >= keys_.front() && key <= keys_.back(); }

    // Reads the next run from where the handle stands: 0, -1 at the end of
    // the file, or the failing code.
    int next_run(int* detail) {
        int32_t got = 0;
        int r = pxall::cdread(buf_.data(), nullptr, 0, kRun, &got, nullptr, h_, detail);
        if (r == -1) at_end_ = true;
        if (r != 0) return r;
        recs_.clear();
        keys_.clear();
        hits_.clear();
        cur_ = 0;
        for (int32_t b = 0; b < got && b < kRun; ++b) load_block(buf_.data() + static_cast<size_t>(b) * kBlock);
        return 0;
    }

    void load_block(const uint8_t* block) {
        const size_t first = recs_.size();
        int n = 0;
        for (; n < kPerBlock && block[n * kRec] != 0; ++n) {
            recs_.push_back(block + kRec * n);
            keys_.push_back(key_of(block + kRec * n));
        }
        hits_.resize(recs_.size(), keyword_.empty());
        if (keyword_.empty()) return;
        // One scan of the block's records; a match counts only inside a name.
        const size_t k = keyword_.size();
        const size_t end = static_cast<size_t>(n) * kRec;
        size_t at = 0;
        while (at + k <= end) {
            const void* p = ::memmem(block + at, end - at, keyword_.data(), k);
            if (p == nullptr) break;
            const size_t o = static_cast<size_t>(static_cast<const uint8_t*>(p) - block);
            const size_t r = o / kRec;
            const size_t in = o - r * kRec;
            if (in >= pxall::hinmei_rec::kName && in + k <= static_cast<size_t>(kRec)) {
                hits_[first + r] = true;
                at = (r + 1) * kRec;  // the record is a hit: on with the next
            } else {
                at = o + 1;
            }
        }
    }

    pxall::CdHandle* h_;
    std::string keyword_;
    std::vector<uint8_t> buf_;
    std::vector<const uint8_t*> recs_;  // the run's records in file order
    std::vector<uint64_t> keys_;        // and their codes
    std::vector<bool> hits_;
    size_t cur_ = 0;
    bool at_end_ = false;
};

// What a load holds open; closed on every way out.
struct Held {
    pxall::CdHandle* h = nullptr;
    TextFile out;
    ~Held() {
        int d = 0;
        pxall::cdclose(&h, &d);
    }
};

// Reads HCODEH.DAT into the table, block by block (read in runs of
// blocks): 0 or the logged code.
int32_t read_codes(pxall::CdHandle* h, CodeTable* table) {
    namespace hc = pxall::hcodeh;
    constexpr int kRun = 32;
    std::vector<uint8_t> run(static_cast<size_t>(kRun) * kBlock);
    for (;;) {
        int detail = 0;
        int32_t got = 0;
        int r = pxall::cdread(run.data(), nullptr, 0, kRun, &got, nullptr, h, &detail);
        if (r == -1) return 0;
        if (r != 0) return fail_logged(kModKeyword, kFnLoad, "cdread", r, detail, 12);
        for (int32_t b = 0; b < got && b < kRun; ++b) {
            const uint8_t* block = run.data() + static_cast<size_t>(b) * kBlock;
            for (int32_t i = 0; i + static_cast<int32_t>(hc::kSize) <= kBlock; i += hc::kSize) {
                const uint8_t* rec = block + i;
                // A record starting NUL (or one without its code) ends the block's records.
                if (rec[0] == 0 || rec[hc::kPnc] == 0) break;
                if (!table->add(rec + hc::kPnc, rec + hc::kFigure))
                    return fail_logged(kModKeyword, kFnLoad, "AddItem", 20, 0, 13);
            }
        }
        if (got < 1) return 0;
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

    CodeTable table;
    {
        Held hc;
        int detail = 0;
        int r = open_catalog_file(pxall::hcodeh::kFileName, true, vehicle_setup(), 1, &hc.h, &detail);
        if (r == 4) {
            *status = kCdMissing;
            return 0;
        }
        if (r != 0) return fail_logged(kModKeyword, kFnLoad, "cdopen", r, detail, 11);
        if (int32_t f = read_codes(hc.h, &table); f != 0) return f;
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
    NameBlocks blocks(names.h, key.data(), key.size());
    int32_t hits = 0;
    std::string line(kkwd::kLineLen, ' ');
    int32_t left = table.count;
    for (pxall::ItemLinks* l = table.items.first; l != nullptr && left > 0; l = l->next) {
        const auto* item = reinterpret_cast<const uint8_t*>(l);
        for (int s = 0; s < kSlots && left > 0; ++s, --left) {
            const uint8_t* pnc = item + kCodesAt + s * pxall::hcodeh::kPncSize;
            const uint8_t* name = nullptr;
            bool hit = false;
            r = blocks.find(pnc, &name, &hit, &detail);
            if (r == -1 || (r == 0 && !hit)) continue;
            if (r != 0) return fail_logged(kModKeyword, kFnLoad, name_file, r, detail, 17);
            line.replace(kkwd::kName, kkwd::kNameSize, reinterpret_cast<const char*>(name), kkwd::kNameSize);
            line.replace(kkwd::kPnc, kkwd::kPncSize, reinterpret_cast<const char*>(pnc), kkwd::kPncSize);
            line.replace(kkwd::kFigure, kkwd::kFigureSize,
                         reinterpret_cast<const char*>(item + kFiguresAt + s * pxall::hcodeh::kFigureSize),
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
