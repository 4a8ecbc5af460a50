// The text placements of an image work file, as a table of entries.
#include <cstdio>
#include <cstring>

#include "platform/files.h"
#include "pxall/image.h"

namespace pxall {

namespace {

using namespace image;

void entry_from_record(const uint8_t* rec, uint8_t* e) {
    // Coordinates keep their 16 bits; stored big-endian, held little-endian.
    for (size_t f : {kTrLeft, kTrTop, kTrRight, kTrBottom}) {
        e[f] = rec[f + 1];
        e[f + 1] = rec[f];
    }
    e[kTeValue] = rec[kTrValue];
    e[kTeValue + 1] = 0;
    std::memcpy(e + kTeText, rec + kTrText, kTextSize);
    e[kTeAttribute] = rec[kTrAttribute];
}

}  // namespace

int decord_text(const char* image_path, uint8_t* entries, int32_t text_length, int32_t coded_length,
                int32_t capacity) {
    if (image_path == nullptr) return kImgOpenImage;
    std::FILE* f = plat::fopen(image_path, "rb");
    if (f == nullptr) return kImgOpenImage;
    int result = 0;
    if (coded_length < 0 || std::fseek(f, static_cast<long>(kStoredHeaderSize) + coded_length, SEEK_SET) != 0)
        result = kImgSeekText;
    int32_t n = text_entries(text_length);
    if (entries == nullptr || capacity < 0) capacity = 0;
    if (n > capacity) n = capacity;
    uint8_t rec[kTextRecordSize];
    for (int32_t i = 0; result == 0 && i < n; ++i) {
        if (std::fread(rec, 1, sizeof rec, f) != sizeof rec) {
            result = kImgReadData;
            break;
        }
        entry_from_record(rec, entries + static_cast<size_t>(i) * kTextEntrySize);
    }
    if (std::fclose(f) != 0 && result == 0) result = kImgCloseImage;
    return result;
}

}  // namespace pxall
