// The price-file set-up: a dealer's price source (fixed records or CSV, in
// one piece or several) becomes the keyed price file of the price
// directory. The new data file, index and master are built beside the old
// ones and put in their place together only when all three are complete,
// so a refused or failed import leaves the prices in force readable.
#include <algorithm>
#include <cerrno>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

#include "platform/drives.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "pxall/blocks.h"
#include "pxall/commit_files.h"
#include "pxall/csv.h"
#include "pxall/errlog.h"
#include "pxall/fileutil.h"
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
constexpr int kCopyPiece = 64 << 10;
constexpr int kCsvLine = 256;
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

// CSV fields into record slots: offset, width.
struct Slot {
    int at, width;
};
constexpr Slot kLayout1[] = {{0, 12}, {12, 8}, {20, 10}, {30, 20}};
constexpr Slot kLayout2[] = {{0, 12}, {12, 8}, {20, 8}, {28, 8}, {36, 10}, {46, 20}};

std::string work_path(const char* name) {
    char p[pxall::kPathSize] = {};
    std::snprintf(p, sizeof p, "%s", name);
    pxall::get_path_name(pxall::kPathWork, -1, p);
    return p;
}

void log(const char* module, const char* function, const std::string& step, int code, int32_t second, int32_t third) {
    pxall::syerr_message(module, function, step.c_str(), code, second, third);
}

void remove_levels() {
    for (const char* n : {"KAKAKU.TM1", "KAKAKU.TM2", "KAKAKU.TM3"}) plat::delete_file(work_path(n));
}

bool ends_with_ci(const std::string& s, const char* tail) {
    size_t n = std::strlen(tail);
    if (s.size() < n) return false;
    for (size_t i = 0; i < n; ++i)
        if (std::toupper(static_cast<unsigned char>(s[s.size() - n + i])) != tail[i]) return false;
    return true;
}

// The records of a data file being built: whole, printable, a part number
// each, rising by their 12-byte key. Line ends after the last record (a
// fixed source saved by an editor) are cut off. 0, kPriceNoData, or -1 with
// errno.
int check_records(const std::string& data_path, int32_t rec_len) {
    auto host = plat::host_path(data_path);
    std::FILE* fp = host ? std::fopen(host->c_str(), "rb") : nullptr;
    if (fp == nullptr) return -1;
    std::vector<char> buf;
    buffer_stream(fp, buf);
    std::fseek(fp, 0, SEEK_END);
    long size = std::ftell(fp);
    long end = size;
    while (end > 0) {
        if (std::fseek(fp, end - 1, SEEK_SET) != 0) break;
        int c = std::fgetc(fp);
        if (c != '\r' && c != '\n' && c != 0x1a) break;
        --end;
    }
    int r = end <= 0 || end % rec_len != 0 ? kPriceNoData : 0;
    std::vector<char> rec(static_cast<size_t>(rec_len)), prev;
    const std::string blank_key(pl::kKeySize, ' ');
    if (r == 0 && std::fseek(fp, 0, SEEK_SET) != 0) r = -1;
    for (long at = 0; r == 0 && at < end; at += rec_len) {
        if (std::fread(rec.data(), 1, rec.size(), fp) != rec.size()) {
            r = -1;
            break;
        }
        if (!printable(rec.data(), rec.size()) || std::memcmp(rec.data(), blank_key.data(), pl::kKeySize) == 0 ||
            (!prev.empty() && std::memcmp(prev.data(), rec.data(), pl::kKeySize) >= 0))
            r = kPriceNoData;
        prev = rec;
    }
    std::fclose(fp);
    if (r == 0 && end != size && ::truncate(host->c_str(), end) != 0) r = -1;
    return r;
}

}  // namespace

int stup_conv_csv2_binary(const std::string& csv_path, const std::string& work, int layout) {
    const char* fn = "stup_conv_csv2_binary";
    const int rec_len = layout == 1 ? pl::kKakakuRecLen : pl::kPrice3RecLen;
    const Slot* slots = layout == 1 ? kLayout1 : kLayout2;
    const int nslots = layout == 1 ? 4 : 6;
    std::vector<char> in_buf, out_buf;  // outlive the streams
    std::FILE* in = plat::fopen(csv_path, "rt");
    buffer_stream(in, in_buf);
    if (in == nullptr) {
        log("PXSTUP41", fn, csv_path, 11, errno, 391);
        return -1;
    }
    std::FILE* out = plat::fopen(work, "wb");
    buffer_stream(out, out_buf);
    if (out == nullptr) {
        log("PXSTUP41", fn, work, 11, errno, 398);
        std::fclose(in);
        return -1;
    }
    std::vector<char> rec(static_cast<size_t>(rec_len));
    int result = 0;
    SourceLines lines(in, kCsvLine - 2);
    std::string line;
    int32_t number = 0;
    int got;
    while ((got = lines.next(&line)) == 1) {
        ++number;
        std::fill(rec.begin(), rec.end(), ' ');
        const char* pos = line.c_str();
        for (int f = 0; f < nslots && pos != nullptr && *pos != 0 && *pos != '\n'; ++f) {
            int16_t first = 0, last = 0;
            const char* next = pxall::get_next_csv(pos, &first, &last);
            pxall::copy_csv_item(pos, rec.data() + slots[f].at, slots[f].width, first, last);
            pos = next;
        }
        if (!put_bytes(out, work, rec.data(), rec.size())) {
            log("PXSTUP41", fn, work, 13, errno, 450);
            result = -1;
            break;
        }
    }
    if (result == 0 && got == kSourceBadRecord) {
        // The line after the last one taken is not a whole record.
        log("PXSTUP41", fn, csv_path, kPriceNoData, number + 1, 402);
        result = kPriceNoData;
    }
    if (result == 0 && std::ferror(in)) {
        log("PXSTUP41", fn, csv_path, 14, errno, 409);
        result = -1;
    }
    std::fclose(in);
    if (std::fclose(out) != 0 && result == 0) {
        log("PXSTUP41", fn, work, 13, errno, 450);
        result = -1;
    }
    return result;
}

// Copies (or appends) the source's records into the data file being built.
// `current` is the data file in force, which an append starts from.
int stup_input_diskette(int kind, const std::string& src, const std::string& data, int append,
                        const std::string& current) {
    const char* fn = "stup_input_diskette";
    const int32_t rec_len = kind == 1 ? pl::kKakakuRecLen : pl::kPrice3RecLen;
    std::vector<char> in_buf, out_buf;  // outlive the streams
    std::FILE* in = plat::fopen(src, "rb");
    buffer_stream(in, in_buf);
    if (in == nullptr) {
        log("PXSTUP99", fn, src, 11, errno, 69);
        return -1;
    }
    std::FILE* out = nullptr;
    if (append != 0) {
        int32_t err = 0;
        plat::delete_file(data);
        if (!plat::file_exists(current) || pxall::file_copy(data.c_str(), current.c_str(), &err) != 0) {
            log("PXSTUP99", fn, current, 11, err, 89);
            std::fclose(in);
            return -1;
        }
        out = plat::fopen(data, "rb+");
    } else {
        out = plat::fopen(data, "wb+");
    }
    buffer_stream(out, out_buf);
    if (out == nullptr) {
        log("PXSTUP99", fn, data, 11, errno, 89);
        std::fclose(in);
        return -1;
    }
    auto fail = [&](const std::string& path, int code, int step) {
        log("PXSTUP99", fn, path, code, errno, step);
        std::fclose(in);
        std::fclose(out);
        return -1;
    };

    if (append != 0) {
        // Where the stored records end: the first zero byte (the last
        // block's padding), or the end.
        std::vector<uint8_t> all;
        std::vector<uint8_t> buf(kCopyPiece);
        size_t n;
        while ((n = std::fread(buf.data(), 1, buf.size(), out)) > 0) all.insert(all.end(), buf.data(), buf.data() + n);
        size_t end = 0;
        while (end < all.size() && all[end] != 0) ++end;
        if (end < static_cast<size_t>(rec_len)) {
            std::fclose(in);
            std::fclose(out);
            return kPriceAppendRefused;
        }
        uint8_t first[pl::kKeySize];
        if (std::fread(first, 1, sizeof first, in) != sizeof first) return fail(src, 14, 161);
        if (std::fseek(in, 0, SEEK_SET) != 0) return fail(src, 15, 168);
        if (std::memcmp(all.data() + end - rec_len, first, pl::kKeySize) >= 0) {
            std::fclose(in);
            std::fclose(out);
            return kPriceAppendRefused;
        }
        // The piece replaces the padding: the file ends with its records.
        if (std::fflush(out) != 0 || ::ftruncate(::fileno(out), static_cast<off_t>(end)) != 0 ||
            std::fseek(out, static_cast<long>(end), SEEK_SET) != 0)
            return fail(data, 15, 150);
    }

    std::vector<uint8_t> piece(kCopyPiece);
    for (;;) {
        size_t got = std::fread(piece.data(), 1, piece.size(), in);
        if (got == 0) {
            if (std::ferror(in)) return fail(src, 14, 183);
            break;
        }
        if (!put_bytes(out, data, piece.data(), got)) {
            if (errno == ENOSPC) {
                std::fclose(in);
                std::fclose(out);
                return kPriceDiskFull;
            }
            return fail(data, 13, 195);
        }
    }
    std::fclose(in);
    if (std::fclose(out) != 0) {
        if (errno == ENOSPC) return kPriceDiskFull;
        log("PXSTUP99", fn, data, 13, errno, 215);
        return -1;
    }
    return 0;
}

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
    remove_levels();

    std::string src(source->data, strnlen(source->data, static_cast<size_t>(std::max(source->len, 0))));
    while (!src.empty() && static_cast<unsigned char>(src.back()) <= ' ') src.pop_back();
    if (src.empty() || src.size() > kSourcePath) {
        log(kModule, kRun, "source path", 128, static_cast<int32_t>(src.size()), 1);
        return 128;
    }
    const Kind& kind = price_kind == 1 ? kKakaku : kPrice3;

    std::string work;
    if (ends_with_ci(src, "CSV")) {
        // PRICEnnn.CSV has the single-price layout, PRIC3nnn.CSV the other.
        std::string name = src.size() >= 12 ? src.substr(src.size() - 12, 5) : std::string();
        for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        int layout = name == "PRICE" ? 1 : 2;
        work = work_path(layout == 1 ? "PRICE" : "PRICE3");
        if (int r = stup_conv_csv2_binary(src, work, layout); r != 0) {
            remove_levels();
            plat::delete_file(work);
            return r == kPriceNoData ? r : -1;
        }
        src = work;
    }

    const std::string dir = state_dir(pxall::ctop::kPriceDir);
    const std::string data = join(dir, kind.data), index = join(dir, kind.index);
    const std::string master = join(dir, pxall::price::kPriceMaster);
    pxall::CommitBuild build;
    auto finish = [&](int r) {
        remove_levels();
        if (!work.empty()) plat::delete_file(work);
        build.abandon();
        return r;
    };
    if (!make_dirs(dir)) {
        log(kModule, kRun, dir, -1, plat::last_error(), 207);
        return finish(-1);
    }
    // The three files are built beside those in force and replace them as
    // one commit (commit_files.h): a kill at any step leaves the old prices
    // or the new ones.
    int32_t commit_err = 0;
    if (int r = build.begin({data, index, master}, &commit_err); r != 0) {
        log(kModule, kRun, "commit", r, commit_err, 208);
        return finish(commit_err == ENOSPC ? kPriceDiskFull : r);
    }
    const std::string data_new = build.temporary(0), index_new = build.temporary(1), master_new = build.temporary(2);

    int r = stup_input_diskette(price_kind == 1 ? 1 : 2, src, data_new, append, data);
    if (r != 0) return finish(r);
    // A source with a record not whole, not printable or out of order (a
    // heading line) would give an index that finds nothing: refused, the
    // prices in force stay.
    r = check_records(data_new, kind.rec_len);
    if (r == kPriceNoData) log(kModule, kRun, src, r, 0, 209);
    if (r == -1) log(kModule, kRun, data_new, 14, errno, 209);
    if (r != 0) return finish(r);
    if (stup_user_mst_entry(kind.id, data_new) != 0) return finish(kPriceNoData);
    r = stup_user_d_file(data_new, kind.block);
    if (r != 0) {
        if (r == kPriceDiskFull) return finish(r);
        log(kModule, kRun, "stup_kakaku_d_file", -1, 0, 0);
        return finish(-1);
    }
    const std::string tm3 = work_path("KAKAKU.TM3"), tm2 = work_path("KAKAKU.TM2");
    r = stup_user_tmp_file(data_new, tm3, kind.rec_len, kind.block);
    if (r == kPriceDiskFull) return finish(r);
    if (r < 0) {
        log(kModule, kRun, "stup_kakaku_tmp3_file", -1, 0, 0);
        return finish(-1);
    }
    if (r == 0) {
        r = stup_user_tmp_file(tm3, tm2, pl::kIndexEntrySize, kind.block);
        if (r == kPriceDiskFull) return finish(r);
        if (r < 0) {
            log(kModule, kRun, "stup_kakaku_tmp2_file", -1, 0, 0);
            return finish(-1);
        }
    }
    int32_t detail = 0;
    r = stup_user_ia(work_path("KAKAKU"), kind.block, index_new, &detail);
    if (r == kPriceDiskFull) return finish(r);
    if (r != 0) {
        log(kModule, kRun, "stup_user_ia", r, 0, detail);
        return finish(r);
    }
    r = stup_user_mst_file(master_new, &detail);
    if (r == 13 && errno == ENOSPC) return finish(kPriceDiskFull);
    if (r != 0) {
        log(kModule, kRun, "stup_user_mst_file", r, detail, errno);
        return finish(r);
    }

    r = build.commit(&commit_err);
    if (r != 0) {
        if (commit_err == ENOSPC) return finish(kPriceDiskFull);
        log(kModule, kRun, "commit", r, commit_err, 0);
        return finish(r);
    }
    const Kind& other = price_kind == 1 ? kPrice3 : kKakaku;
    plat::delete_file(join(dir, other.data));
    plat::delete_file(join(dir, other.index));
    return finish(0);
}
