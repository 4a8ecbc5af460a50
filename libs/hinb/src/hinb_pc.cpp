// The part-name search: the part-name codes whose name holds the search
// text, over the part-name files of the area's catalogue CDs.
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>
#include <unordered_set>

#include "hinb/hinb.h"
#include "hinb/hinb_layout.h"
#include "hinb_state.h"
#include "platform/files.h"
#include "pxall/cdrom.h"
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

struct Scan {
    std::string_view text;
    int32_t written = 0;
    int32_t cds = 0;  // part-name files read so far
    std::unordered_set<uint64_t> codes;
};

int write_name(const unsigned char* rec, Scan* q) {
    State& s = st();
    // A code is written once, whichever CD holds it as well.
    if (!q->codes.insert(code_key(rec + hm::kPnc)).second && q->cds > 1) return 0;
    // Records go one after another: no seek, so the stream's buffer holds.
    if (std::fwrite(rec, 1, hm::kSize, s.tmp0) != hm::kSize) {
        log(kModule, "hinb_pc_write_disp_tmp0", "fwrite PXHINB0.TMP", 13, errno, 2);
        return kFailed;
    }
    return ++q->written >= kMaxNames ? 1 : 0;
}

// Tests the records of one block up to the first that begins with a blank
// or below: 0, 1 when the name limit is reached, or kFailed. The text is
// looked for in the block's records at once; a find counts when it lies
// inside one record's name.
int scan_block(const unsigned char* block, Scan* q) {
    int n = 0;
    while (n < kRecordsPerBlock && block[static_cast<size_t>(n) * hm::kSize] > ' ') ++n;
    if (q->text.empty()) return 0;
    const std::string_view records(reinterpret_cast<const char*>(block), static_cast<size_t>(n) * hm::kSize);
    const size_t m = q->text.size();
    size_t from = 0;
    while (from < records.size()) {
        size_t at = records.find(q->text, from);
        if (at == std::string_view::npos) break;
        size_t rec = at / hm::kSize, off = at % hm::kSize;
        if (off < hm::kName || off + m > hm::kSize) {
            from = at + 1;
            continue;
        }
        int r = write_name(block + rec * hm::kSize, q);
        if (r != 0) return r;
        from = (rec + 1) * hm::kSize;
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
            for (int32_t b = 0; b < blocks && b < kNameBlocks && result == 0; ++b) {
                int f = scan_block(reinterpret_cast<unsigned char*>(s.name_buf) + static_cast<size_t>(b) *
                                                                                     pxall::keyed::kBlockSize,
                                   &q);
                if (f == 1) {
                    log(kModule, "hinb_pc_make_data", "Max Over", -1, q.written, 5);
                    result = -1;
                } else if (f != 0) {
                    result = -1;
                }
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
