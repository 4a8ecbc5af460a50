// A dealer's price source (fixed records or CSV) read into the records of
// the data file being built, in memory: one pass over the source, no file
// between it and the data file.
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "pxall/csv.h"
#include "pxall/errlog.h"
#include "pxall/price_layout.h"
#include "pxall/text_cut.h"
#include "price_setup.h"
#include "stup_internal.h"

namespace pxstup {

namespace {

namespace pl = pxall::price;
constexpr const char* kConvModule = "PXSTUP41";
constexpr const char* kConv = "stup_conv_csv2_binary";
constexpr const char* kInputModule = "PXSTUP99";
constexpr const char* kInput = "stup_input_diskette";
constexpr int kCsvLine = 256;

// CSV fields into record slots: offset, width.
struct Slot {
    int at, width;
};
constexpr Slot kLayout1[] = {{0, 12}, {12, 8}, {20, 10}, {30, 20}};
constexpr Slot kLayout2[] = {{0, 12}, {12, 8}, {20, 8}, {28, 8}, {36, 10}, {46, 20}};

void log(const char* module, const char* function, const std::string& step, int code, int32_t second, int32_t third) {
    pxall::syerr_message(module, function, step.c_str(), code, second, third);
}

// The field at pos (of a line ending at end) into dest, at most width
// bytes ending on a character boundary, as pxall::get_next_csv and
// copy_csv_item cut it; a field without
// a doubled quote, the usual kind, is found and copied a word at a time.
// The address after its separator, or null at the end of the line.
const char* cut_field(const char* pos, const char* end, char* dest, int width) {
    const char *from = pos, *to = nullptr, *next = nullptr;  // the bytes [from, to)
    if (*pos == '"') {
        const char* quote = static_cast<const char*>(std::memchr(pos + 1, '"', static_cast<size_t>(end - pos - 1)));
        if (quote != nullptr && (quote + 1 == end || quote[1] != '"')) {
            from = pos + 1;
            to = quote;
            // Anything between the closing quote and the separator is dropped.
            next = static_cast<const char*>(std::memchr(quote + 1, ',', static_cast<size_t>(end - quote - 1)));
        }
    } else {
        next = static_cast<const char*>(std::memchr(pos, ',', static_cast<size_t>(end - pos)));
        to = next != nullptr ? next : end;
        if (std::memchr(pos, '"', static_cast<size_t>(to - pos)) != nullptr) to = nullptr;
    }
    if (to == nullptr) {
        int16_t first = 0, last = 0;
        next = pxall::get_next_csv(pos, &first, &last);
        pxall::copy_csv_item(pos, dest, width, first, last);
        return next;
    }
    const size_t keep = pxall::text_cut_length(std::string_view(from, static_cast<size_t>(to - from)),
                                               static_cast<size_t>(width));
    if (keep > 0) std::memcpy(dest, from, keep);
    return next != nullptr ? next + 1 : nullptr;
}

std::FILE* open_csv(const std::string& csv_path) {
    std::FILE* in = plat::fopen(csv_path, "rt");
    if (in == nullptr) log(kConvModule, kConv, csv_path, 11, errno, 391);
    return in;
}

// The lines of an open CSV source as fixed records of the layout, each
// blank-filled with its fields cut to their slots, handed to `take` one by
// one. 0; kPriceNoData for a line that is not a whole record; -1 when the
// source cannot be read (logged) or `take` fails (logged by `take`).
template <typename Take>
int csv_records(std::FILE* in, const std::string& csv_path, int layout, Take take) {
    const Slot* slots = layout == 1 ? kLayout1 : kLayout2;
    const int nslots = layout == 1 ? 4 : 6;
    char rec[pl::kPrice3RecLen];
    const size_t rec_len = static_cast<size_t>(csv_rec_len(layout));
    SourceLines lines(in, kCsvLine - 2);
    std::string line;
    int32_t number = 0;
    int got;
    while ((got = lines.next(&line)) == 1) {
        ++number;
        std::memset(rec, ' ', rec_len);
        const char* pos = line.c_str();
        const char* end = pos + line.size();
        for (int f = 0; f < nslots && pos != nullptr && *pos != 0 && *pos != '\n'; ++f)
            pos = cut_field(pos, end, rec + slots[f].at, slots[f].width);
        if (!take(rec)) return -1;
    }
    if (got == kSourceBadRecord) {
        // The line after the last one taken is not a whole record.
        log(kConvModule, kConv, csv_path, kPriceNoData, number + 1, 402);
        return kPriceNoData;
    }
    if (std::ferror(in)) {
        log(kConvModule, kConv, csv_path, 14, errno, 409);
        return -1;
    }
    return 0;
}

}  // namespace

int csv_rec_len(int layout) { return layout == 1 ? pl::kKakakuRecLen : pl::kPrice3RecLen; }

int stup_conv_csv2_binary(const std::string& csv_path, const std::string& work, int layout) {
    std::FILE* in = open_csv(csv_path);
    if (in == nullptr) return -1;
    std::vector<char> out_buf;  // outlives the stream
    std::FILE* out = plat::fopen(work, "wb");
    buffer_stream(out, out_buf);
    if (out == nullptr) {
        log(kConvModule, kConv, work, 11, errno, 398);
        std::fclose(in);
        return -1;
    }
    const size_t rec_len = static_cast<size_t>(csv_rec_len(layout));
    int result = csv_records(in, csv_path, layout, [&](const char* rec) {
        if (put_bytes(out, work, rec, rec_len)) return true;
        log(kConvModule, kConv, work, 13, errno, 450);
        return false;
    });
    std::fclose(in);
    if (std::fclose(out) != 0 && result == 0) {
        log(kConvModule, kConv, work, 13, errno, 450);
        result = -1;
    }
    return result;
}

int csv_source_records(const std::string& csv_path, int layout, size_t limit, std::vector<char>* data, bool* over,
                       PieceWriter* out) {
    std::FILE* in = open_csv(csv_path);
    if (in == nullptr) return -1;
    const size_t rec_len = static_cast<size_t>(csv_rec_len(layout));
    // Room for as many records as the file can hold lines (a character and
    // its line end each), within the limit: a small file takes little.
    struct stat st;
    if (::fstat(::fileno(in), &st) == 0 && st.st_size >= 0)
        data->reserve(data->size() + std::min(limit, (static_cast<size_t>(st.st_size) / 2 + 1) * rec_len));
    // Past the limit the lines are still read, so that a line that is not
    // whole is reported as such.
    int result = csv_records(in, csv_path, layout, [&](const char* rec) {
        if (data->size() + rec_len > limit) {
            *over = true;
            return true;
        }
        data->insert(data->end(), rec, rec + rec_len);
        return out == nullptr || out->keep_up(*data);
    });
    std::fclose(in);
    return result;
}

int read_source(const std::string& path, size_t limit, std::vector<char>* data, bool* over) {
    std::FILE* fp = plat::fopen(path, "rb");
    if (fp == nullptr) {
        log(kInputModule, kInput, path, 11, errno, 69);
        return -1;
    }
    struct stat st;
    const size_t size = ::fstat(::fileno(fp), &st) == 0 ? static_cast<size_t>(st.st_size) : 0;
    // In one read as far as the size and the limit go; then a file still
    // growing up to the limit, and past it only line ends, which are no
    // records.
    const size_t at = data->size(), first = std::min(size, limit);
    data->resize(at + first);
    const size_t got = std::fread(data->data() + at, 1, first, fp);
    data->resize(at + got);
    char piece[4096];
    size_t n;
    while (got == first && !*over && (n = std::fread(piece, 1, sizeof piece, fp)) > 0) {
        const size_t fit = std::min(n, limit - (data->size() - at));
        data->insert(data->end(), piece, piece + fit);
        for (size_t i = fit; i < n; ++i)
            if (!line_end(piece[i])) *over = true;
    }
    const bool failed = std::ferror(fp) != 0;
    const int err = errno;
    std::fclose(fp);
    if (failed) {
        log(kInputModule, kInput, path, 14, err, 183);
        return -1;
    }
    return 0;
}

int put_stored_first(const std::string& current, const std::string& src, int32_t rec_len, size_t limit,
                     std::vector<char>* data, bool* over) {
    if (!plat::file_exists(current)) {
        log(kInputModule, kInput, current, 11, 0, 89);
        return -1;
    }
    std::vector<char> stored;
    if (read_source(current, limit, &stored, over) != 0) return -1;
    // Where the stored records end: the first zero byte (the last block's
    // padding), or the end.
    const void* zero = std::memchr(stored.data(), 0, stored.size());
    const size_t end = zero != nullptr ? static_cast<size_t>(static_cast<const char*>(zero) - stored.data())
                                       : stored.size();
    if (end < static_cast<size_t>(rec_len)) return kPriceAppendRefused;
    if (data->size() < static_cast<size_t>(pl::kKeySize)) {
        log(kInputModule, kInput, src, 14, 0, 161);
        return -1;
    }
    if (std::memcmp(stored.data() + end - rec_len, data->data(), pl::kKeySize) >= 0) return kPriceAppendRefused;
    // The piece replaces the padding: the file ends with its records.
    stored.resize(end);
    stored.insert(stored.end(), data->begin(), data->end());
    data->swap(stored);
    return 0;
}

}  // namespace pxstup
