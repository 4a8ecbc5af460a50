// The price-file set-up: a dealer's price source (fixed records or CSV, in
// one piece or several) becomes the keyed price file of the price
// directory. The new data file, index and master are built beside the old
// ones and put in their place together only when all three are complete,
// so a refused or failed import leaves the prices in force readable. The
// source is read once, into memory (a CSV source's records go on to the data
// file as they are made), checked there, and the index is built from it.
#include <algorithm>
#include <cerrno>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/files.h"
#include "pxall/blocks.h"
#include "pxall/commit_files.h"
#include "pxall/errlog.h"
#include "pxall/paths.h"
#include "pxall/price_layout.h"
#include "price_setup.h"
#include "stup/stup.h"
#include "stup_internal.h"

namespace pxstup {

namespace {

namespace pl = pxall::price;
constexpr const char* kModule = "PXSTUP21";
constexpr const char* kRun = "stup_kakaku_setup";
constexpr int kSourcePath = 79;

struct Kind {
    const char* data;
    const char* index;
    const char* id;
    int32_t block;
    int32_t rec_len;
};
constexpr Kind kKakaku = {"KAKAKU.D", "KAKAKU.IA", "KAKAKU  D  ", pl::kKakakuBlock, pl::kKakakuRecLen};
constexpr Kind kPrice3 = {"PRICE3.D", "PRICE3.IA", "PRICE3  D  ", pl::kPrice3Block, pl::kPrice3RecLen};

std::string work_path(const char* name) {
    char p[pxall::kPathSize] = {};
    std::snprintf(p, sizeof p, "%s", name);
    pxall::get_path_name(pxall::kPathWork, -1, p);
    return p;
}

void log(const char* module, const char* function, const std::string& step, int code, int32_t second, int32_t third) {
    pxall::syerr_message(module, function, step.c_str(), code, second, third);
}

// The work files that earlier imports kept between their steps, left
// behind by one that was killed.
void remove_work_files() {
    for (const char* n : {"PRICE", "PRICE3", "KAKAKU.TM1", "KAKAKU.TM2", "KAKAKU.TM3"}) plat::delete_file(work_path(n));
}

bool ends_with_ci(const std::string& s, const char* tail) {
    size_t n = std::strlen(tail);
    if (s.size() < n) return false;
    for (size_t i = 0; i < n; ++i)
        if (std::toupper(static_cast<unsigned char>(s[s.size() - n + i])) != tail[i]) return false;
    return true;
}

// The records of the data file being built: whole, printable, a part
// number each, rising by their 12-byte key. Line ends after the last record
// (a fixed source saved by an editor) are cut off. 0 or kPriceNoData.
int check_records(std::vector<char>* data, int32_t rec_len) {
    size_t end = data->size();
    while (end > 0 && line_end((*data)[end - 1])) --end;
    if (end == 0 || end % static_cast<size_t>(rec_len) != 0 || !printable(data->data(), end)) return kPriceNoData;
    const std::string blank_key(pl::kKeySize, ' ');
    const char* prev = nullptr;
    for (size_t at = 0; at < end; at += static_cast<size_t>(rec_len)) {
        const char* rec = data->data() + at;
        if (std::memcmp(rec, blank_key.data(), pl::kKeySize) == 0 ||
            (prev != nullptr && std::memcmp(prev, rec, pl::kKeySize) >= 0))
            return kPriceNoData;
        prev = rec;
    }
    data->resize(end);
    return 0;
}

}  // namespace

}  // namespace pxstup

using namespace pxstup;

int16_t Check_Setuped_Price() {
    char p[pxall::kPathSize] = {};
    std::snprintf(p, sizeof p, "%s", pxall::price::kPriceMaster);
    if (pxall::get_path_name(pxall::kPathPrice, -1, p) != 0) return 0;
    // An import a kill interrupted is finished (or undone) first.
    int32_t err = 0;
    if (pxall::settle_commit(p, &err) != 0) return 0;
    std::FILE* fp = plat::fopen(p, "rb");
    if (fp == nullptr) return 0;
    std::fclose(fp);
    return 1;
}

int32_t stup_kakaku_setup(const VbString* source, int16_t price_kind, int16_t append) {
    if (pxall::get_ctop_addr() == nullptr || source == nullptr || source->data == nullptr) return 128;
    remove_work_files();

    std::string src(source->data, strnlen(source->data, static_cast<size_t>(std::max(source->len, 0))));
    while (!src.empty() && static_cast<unsigned char>(src.back()) <= ' ') src.pop_back();
    if (src.empty() || src.size() > kSourcePath) {
        log(kModule, kRun, "source path", 128, static_cast<int32_t>(src.size()), 1);
        return 128;
    }
    const Kind& kind = price_kind == 1 ? kKakaku : kPrice3;
    // A source larger than two index levels can hold is refused as too many
    // records, and not kept in memory past that.
    const size_t limit = stup_data_limit(kind.block);
    std::vector<char> records;  // the new data file
    bool over = false;

    const std::string dir = state_dir(pxall::ctop::kPriceDir);
    const std::string data = join(dir, kind.data), index = join(dir, kind.index);
    const std::string master = join(dir, pxall::price::kPriceMaster);
    pxall::CommitBuild build;  // what is not committed goes with it
    if (!make_dirs(dir)) {
        log(kModule, kRun, dir, -1, plat::last_error(), 207);
        return -1;
    }
    // The three files are built beside those in force and replace them as
    // one commit (commit_files.h): a kill at any step leaves the old prices
    // or the new ones.
    int32_t commit_err = 0;
    if (int r = build.begin({data, index, master}, &commit_err); r != 0) {
        log(kModule, kRun, "commit", r, commit_err, 208);
        return commit_err == ENOSPC ? kPriceDiskFull : r;
    }
    const std::string data_new = build.temporary(0), index_new = build.temporary(1), master_new = build.temporary(2);
    auto write_failed = [&](int e) {
        if (e == ENOSPC) return kPriceDiskFull;
        log(kModule, kRun, data_new, 13, e, 210);
        return -1;
    };

    // A CSV source goes to the data file as it is converted, unless an
    // appended piece is to follow the stored records.
    PieceWriter out(data_new);
    if (ends_with_ci(src, "CSV")) {
        // PRICEnnn.CSV has the single-price layout, PRIC3nnn.CSV the other.
        std::string name = src.size() >= 12 ? src.substr(src.size() - 12, 5) : std::string();
        for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        int r = csv_source_records(src, name == "PRICE" ? 1 : 2, limit, &records, &over, append != 0 ? nullptr : &out);
        if (r == -1 && out.error() != 0) return write_failed(out.error());
        if (r != 0) return r == kPriceNoData ? r : -1;
    } else if (read_source(src, limit, &records, &over) != 0) {
        return -1;
    }
    if (append != 0) {
        if (int r = put_stored_first(data, src, kind.rec_len, limit, &records, &over); r != 0) return r;
    }
    // A source with a record not whole, not printable or out of order (a
    // heading line) would give an index that finds nothing: refused, the
    // prices in force stay.
    if (check_records(&records, kind.rec_len) != 0) {
        log(kModule, kRun, src, kPriceNoData, 0, 209);
        return kPriceNoData;
    }
    if (over || stup_user_mst_entry(kind.id, static_cast<int64_t>(records.size())) != 0)
        return kPriceNoData;
    // Whole blocks, the last one's rest zero.
    const size_t block = static_cast<size_t>(kind.block);
    records.resize((records.size() + block - 1) / block * block, 0);
    std::vector<uint8_t> levels;
    if (stup_user_index(reinterpret_cast<const uint8_t*>(records.data()), records.size(), kind.rec_len, kind.block,
                        &levels) != 0) {
        log(kModule, kRun, "stup_kakaku_tmp3_file", -1, 0, 0);
        return -1;
    }
    if (int e = out.finish(records.data(), records.size()); e != 0) return write_failed(e);
    if (int e = put_file(index_new, levels.data(), levels.size()); e != 0) {
        if (e == ENOSPC) return kPriceDiskFull;
        log(kModule, kRun, "stup_user_ia", 13, 0, e);
        return 13;
    }
    int32_t detail = 0;
    int r = stup_user_mst_file(master_new, &detail);
    if (r == 13 && errno == ENOSPC) return kPriceDiskFull;
    if (r != 0) {
        log(kModule, kRun, "stup_user_mst_file", r, detail, errno);
        return r;
    }

    r = build.commit(&commit_err);
    if (r != 0) {
        if (commit_err == ENOSPC) return kPriceDiskFull;
        log(kModule, kRun, "commit", r, commit_err, 0);
        return r;
    }
    const Kind& other = price_kind == 1 ? kPrice3 : kKakaku;
    plat::delete_file(join(dir, other.data));
    plat::delete_file(join(dir, other.index));
    return 0;
}
