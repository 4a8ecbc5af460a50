// The part-name search: the part-name codes whose name holds the search
// text, over the part-name files of the area's catalogue CDs.
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>
#include <string>
#include <vector>

#include "hinb/hinb.h"
#include "hinb/hinb_layout.h"
#include "hinb_state.h"
#include "platform/files.h"
#include "pxall/cdrom.h"
#include "pxall/find_bytes.h"
#include "pxall/keyed_layout.h"
#include "pxall/part_records.h"
#include "pxall/strutil.h"

namespace hinb {

namespace {

constexpr const char* kModule = "PXHINB04";
namespace hm = pxall::hinmei_rec;
constexpr int kRecordsPerBlock = pxall::keyed::kBlockSize / static_cast<int>(hm::kSize);

// The 6-character code as a number, for the set of codes written.
uint64_t code_key(const unsigned char* code) {
    uint64_t k = 0;
    for (size_t i = 0; i < pxall::kPncSize; ++i) k = k << 8 | code[i];
    return k;
}

// The codes written so far: open addressing on the code's number (never 0,
// a code starts above a blank), doubled when half full. A node-based set
// costs an allocation per name found, more than the search of the name.
class CodeSet {
public:
    // False when the code was there already.
    bool insert(uint64_t key) {
        if ((count_ + 1) * 2 > slots_.size()) grow();
        size_t i = slot_of(key);
        while (slots_[i] != 0) {
            if (slots_[i] == key) return false;
            i = (i + 1) & (slots_.size() - 1);
        }
        slots_[i] = key;
        ++count_;
        return true;
    }

private:
    size_t slot_of(uint64_t key) const {
        return static_cast<size_t>((key * 0x9E3779B97F4A7C15ull) >> 32) & (slots_.size() - 1);
    }
    void grow() {
        std::vector<uint64_t> old = std::move(slots_);
        slots_.assign(old.empty() ? 4096 : old.size() * 2, 0);
        count_ = 0;
        for (uint64_t k : old)
            if (k != 0) insert(k);
    }

    std::vector<uint64_t> slots_;
    size_t count_ = 0;
};

struct Scan {
    std::string_view text;
    int32_t written = 0;
    int32_t cds = 0;  // part-name files read so far
    CodeSet codes;
    std::string out;  // records found, written once per run of blocks
};

// Writes the records found so far: 0 or kFailed.
int flush(Scan* q) {
    State& s = st();
    if (q->out.empty()) return 0;
    const size_t n = q->out.size();
    const size_t put = std::fwrite(q->out.data(), 1, n, s.tmp0);
    q->out.clear();
    if (put != n) {
        log(kModule, "hinb_pc_write_disp_tmp0", "fwrite PXHINB0.TMP", 13, errno, 2);
        return kFailed;
    }
    return 0;
}

int take_name(const unsigned char* rec, Scan* q) {
    // A code is written once, whichever CD holds it as well.
    if (!q->codes.insert(code_key(rec + hm::kPnc)) && q->cds > 1) return 0;
    q->out.append(reinterpret_cast<const char*>(rec), hm::kSize);
    return ++q->written >= kMaxNames ? 1 : 0;
}

// The records of a block in use: those before the first that begins with
// a blank or below.
int valid_records(const unsigned char* block) {
    int n = 0;
    while (n < kRecordsPerBlock && block[static_cast<size_t>(n) * hm::kSize] > ' ') ++n;
    return n;
}

// Tests the records of a run of blocks: 0, 1 when the name limit is
// reached, or kFailed. The text is looked for in the whole run at once and
// each find mapped to its block and record; it counts when it lies inside
// one record's name and the record is in use. Only blocks with a find are
// looked at record by record.
int scan_run(const unsigned char* run, int32_t blocks, Scan* q) {
    if (q->text.empty() || blocks < 1) return 0;
    constexpr size_t kBlock = pxall::keyed::kBlockSize;
    const size_t m = q->text.size(), end = static_cast<size_t>(blocks) * kBlock;
    size_t from = 0;
    size_t checked = SIZE_MAX;  // the block whose records in use are known
    int valid = 0;
    while (from + m <= end) {
        const unsigned char* p =
            pxall::find_bytes(run + from, end - from, reinterpret_cast<const unsigned char*>(q->text.data()), m);
        if (p == nullptr) break;
        const size_t at = static_cast<size_t>(p - run);
        const size_t block = at / kBlock, in = at % kBlock;
        const size_t rec = in / hm::kSize, off = in % hm::kSize;
        if (rec >= static_cast<size_t>(kRecordsPerBlock) || off < hm::kName || off + m > hm::kSize) {
            from = at + 1;
            continue;
        }
        if (block != checked) {
            checked = block;
            valid = valid_records(run + block * kBlock);
        }
        if (rec >= static_cast<size_t>(valid)) {
            from = (block + 1) * kBlock;  // the rest of the block is out of use
            continue;
        }
        const int r = take_name(run + block * kBlock + rec * hm::kSize, q);
        if (r != 0) return r;
        from = block * kBlock + (rec + 1) * hm::kSize;
    }
    return 0;
}

}  // namespace

}  // namespace hinb

using namespace hinb;

extern "C" {

int32_t hinb_pc_main(int16_t* msg, int16_t* count) {
    State& s = st();
    if (msg != nullptr) *msg = 0;
    if (count != nullptr) *count = 0;
    // '_' stands for a blank; trailing blanks are no part of the text.
    char text[kTextSize];
    pxall::memrep(text, s.search_text, '_', ' ', kTextSize);
    int len = kTextSize;
    while (len > 0 && text[len - 1] == ' ') --len;

    char path[pxall::kPathSize];
    if (s.tmp0 != nullptr) {
        std::fclose(s.tmp0);
        s.tmp0 = nullptr;
    }
    if (!file_path(kNameFile, path) || (s.tmp0 = plat::fopen(path, "wb")) == nullptr) {
        log(kModule, "hinb_pc_make_data", "fopen PXHINB0.TMP", 11, errno, 3);
        return -1;
    }
    std::free(s.name_buf);
    s.name_buf = static_cast<char*>(std::malloc(kNameBlocks * pxall::keyed::kBlockSize));
    if (s.name_buf == nullptr) {
        log("PXHINB01", "hinb_malloc_hinmei", "malloc", 20, 0, 23);
        return -1;
    }
    int32_t list[kCdTableSize];
    int list_count = 0;
    if (!area_list(list, &list_count)) return -1;

    char file[16];
    hinmei_name(file, sizeof file);
    Scan q;
    q.text = std::string_view(text, static_cast<size_t>(len));
    pxall::CdCursor* cursor = nullptr;
    int result = 0;
    try {
        for (;;) {
            int32_t blocks = 0, position = 0;
            int detail = 0;
            int r = pxall::cdget_some_cd_data(file, "", 7, 3, -1, list, list_count, s.name_buf, nullptr, 0,
                                              kNameBlocks, &blocks, &position, 0, &cursor, &detail);
            if (r == -1) break;
            if (r == 4) {
                result = 4;
                break;
            }
            if (r != 0) {
                char step[32];
                std::snprintf(step, sizeof step, "%s cdread", file);
                log(kModule, "hinb_pc_make_data", step, r, detail, 4);
                result = -1;
                break;
            }
            // Each part-name file is read from its first block on.
            if (position == 0 && q.cds < kCdRemembered) ++q.cds;
            int f = scan_run(reinterpret_cast<unsigned char*>(s.name_buf), std::min(blocks, kNameBlocks), &q);
            if (f != kFailed && flush(&q) != 0) f = kFailed;
            if (f == 1) {
                log(kModule, "hinb_pc_make_data", "Max Over", -1, q.written, 5);
                result = -1;
            } else if (f != 0) {
                result = -1;
            }
            if (result != 0) break;
        }
    } catch (const std::bad_alloc&) {
        log("PXHINB01", "hinb_malloc_hinmei", "malloc", 20, 0, 24);
        result = -1;
    }
    pxall::cdget_some_cd_data(file, "", 7, -1, -1, nullptr, 0, nullptr, nullptr, 0, 0, nullptr, nullptr, 0, &cursor,
                              nullptr);
    s.cds_found = q.cds;
    if (count != nullptr) *count = static_cast<int16_t>(q.written > 32767 ? 32767 : q.written);
    std::free(s.name_buf);
    s.name_buf = nullptr;
    if (s.tmp0 != nullptr && std::fclose(s.tmp0) != 0 && result == 0) {
        log("PXHINB01", "hinb_close_tmp0", "fclose", 12, errno, 25);
        result = -1;
    }
    s.tmp0 = nullptr;
    if (result != 0) return result;
    if (q.written == 0) {
        if (msg != nullptr) *msg = 865;
        return 1;
    }
    return 0;
}

}  // extern "C"
