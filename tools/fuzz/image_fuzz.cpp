// Fuzz target: arbitrary bytes through the illustration decoding. The
// input's first byte picks the use:
//   even: the rest is an image work file, decoded into a bitmap file and its
//         text placements read (decord_img, decord_text);
//   odd:  the next two bytes give a picture width, the rest is a coded
//         picture, decoded twice by the fax decoder itself: whole into a
//         large output space, and one byte per call into a 7-byte space.
//         Both must give the same rows and the same end.
// Every call must end with a status code, without touching memory outside
// its buffers and without a loop that does not end.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "platform/drives.h"
#include "scratch_dir.h"
#include "pxall/blocks.h"
#include "pxall/faxdecode.h"
#include "pxall/image.h"

namespace fs = std::filesystem;

namespace {

struct Place {
    pxfuzz::ScratchDir scratch{"pximgfuzz"};
    fs::path root = scratch.path();
    Place() { plat::set_drive('C', root.string(), plat::kDriveFixed); }
};

// Rows stop being gathered past this many bytes (a picture of at most
// 1158 rows of 5727 pixels is far below it).
constexpr size_t kMaxRows = 1u << 23;

struct Run {
    int result = 0;
    uint16_t status = 0;
    bool ended = false;  // the end of the picture was reached
    std::vector<uint8_t> rows;
};

Run decode(uint16_t width, const uint8_t* in, size_t n, size_t piece, int32_t space) {
    Run run;
    uint16_t w = width;
    run.result = pxall::fax_decode(pxall::kFaxInit, &w, nullptr, 0, nullptr, nullptr, &run.status);
    if (run.result != 0) return run;
    std::vector<uint8_t> out(static_cast<size_t>(space));
    size_t at = 0;
    size_t len = piece < n ? piece : n;
    for (;;) {
        int32_t count = space;
        run.result = pxall::fax_decode(pxall::kFaxDecode, &w, in + at, static_cast<int32_t>(len), out.data(), &count,
                                       &run.status);
        if (run.result != 0) return run;
        if (run.status == pxall::kFaxOutputReady || run.status == pxall::kFaxEndOfImage)
            run.rows.insert(run.rows.end(), out.begin(), out.begin() + count);
        if (run.status == pxall::kFaxEndOfImage) {
            run.ended = true;
            return run;
        }
        if (run.rows.size() > kMaxRows || (run.status == pxall::kFaxNeedInput && at + len >= n)) {
            pxall::fax_decode(pxall::kFaxRelease, nullptr, nullptr, 0, nullptr, nullptr, nullptr);
            run.status = 0;  // stopped here
            return run;
        }
        if (run.status == pxall::kFaxNeedInput) {
            at += len;
            len = piece < n - at ? piece : n - at;
        }
    }
}

void decode_both_ways(const uint8_t* data, size_t size) {
    if (size < 3) return;
    uint16_t width = static_cast<uint16_t>(1 + (data[1] | data[2] << 8) % pxall::image::kMaxWidth);
    Run whole = decode(width, data + 3, size - 3, size, 1 << 16);
    Run bytes = decode(width, data + 3, size - 3, 1, 7);
    // A run stopped for its size may stop at another row in the other.
    if (whole.rows.size() > kMaxRows || bytes.rows.size() > kMaxRows) return;
    if (whole.result != bytes.result || whole.status != bytes.status) __builtin_trap();
    // Rows not yet reported when decoding stopped are lost, so only whole
    // pictures compare.
    if (whole.ended && whole.rows != bytes.rows) __builtin_trap();
}

void decode_image_file(const Place& place, const uint8_t* data, size_t size) {
    if (FILE* f = std::fopen((place.root / "IMG.TMP").c_str(), "wb")) {
        if (size > 0) std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    uint8_t h[pxall::image::kHeaderSize] = {};
    int r = pxall::decord_img("C:\\IMG.TMP", "C:\\IMG.BMP", h);
    if (r == 0) {
        // The bitmap holds every row of the picture the header names.
        int32_t w = static_cast<uint16_t>(pxall::get_i16(h + 4)), ht = static_cast<uint16_t>(pxall::get_i16(h + 6));
        std::error_code ec;
        auto n = fs::file_size(place.root / "IMG.BMP", ec);
        if (!ec && n != 62u + static_cast<uint64_t>(pxall::image::bitmap_stride(w)) * ht) __builtin_trap();
    }
    int32_t text_len = pxall::get_i32(h + 24), coded_len = pxall::get_i32(h + 20);
    int32_t room = pxall::image::text_entries(text_len);
    std::vector<uint8_t> table(static_cast<size_t>(room) * pxall::image::kTextEntrySize + 1);
    pxall::decord_text("C:\\IMG.TMP", table.data(), text_len, coded_len, room);
    // A table with less room than the records.
    if (room > 1) pxall::decord_text("C:\\IMG.TMP", table.data(), text_len, coded_len, room / 2);
    std::error_code ec;
    fs::remove(place.root / "IMG.BMP", ec);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Place place;
    if (size < 1) return 0;
    if (data[0] & 1)
        decode_both_ways(data, size);
    else
        decode_image_file(place, data + 1, size - 1);
    return 0;
}
