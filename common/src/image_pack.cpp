// Copying one image out of the catalogue's IMAGEF.DAT into a work file.
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/files.h"
#include "pxall/blocks.h"
#include "pxall/image.h"
#include "pxall/keyed_file.h"

namespace pxall {

namespace {

constexpr int kGroupBlocks = 4;  // blocks moved per read and write
constexpr int kImageKeySet = 0;  // IMAGEF has no key sets
constexpr int kCdOption = 0;     // the catalogue CD request

void set(int* detail, int v) {
    if (detail != nullptr) *detail = v;
}

bool parse_digits(const char* p, int n, int32_t* out) {
    int32_t v = 0;
    for (int i = 0; i < n; ++i) {
        if (p[i] < '0' || p[i] > '9') return false;
        v = v * 10 + (p[i] - '0');
    }
    *out = v;
    return true;
}

// Reads `blocks` blocks and appends them to the work file.
int copy_blocks(CdHandle* h, std::FILE* out, uint8_t* buf, int blocks, int short_detail, int* detail) {
    int32_t got = 0;
    int r = cdread(buf, nullptr, 0, blocks, &got, nullptr, h, detail);
    if (r != 0 && r != -1) return r;
    if (r == -1 || got < blocks) {
        set(detail, short_detail);
        return 128;
    }
    size_t bytes = static_cast<size_t>(blocks) * image::kBlockSize;
    if (std::fwrite(buf, 1, bytes, out) != bytes) {
        set(detail, errno);
        return 13;
    }
    return 0;
}

}  // namespace

int make_pack_image_file(const char* work_path, const char* locator, int* detail) {
    set(detail, 0);
    int32_t first = 0, count = 0;
    if (work_path == nullptr || locator == nullptr || !parse_digits(locator, image::kLocatorBlockDigits, &first) ||
        !parse_digits(locator + image::kLocatorBlockDigits, image::kLocatorCountDigits, &count)) {
        set(detail, imgd::kBadLocator);
        return 128;
    }
    const unsigned char* car = get_ccar_addr();
    int setup = car == nullptr ? -1 : get_i32(car + ccar::kSetupIndex);

    CdHandle* h = nullptr;
    int r = cdopen("IMAGEF.DAT", "", kImageKeySet, 1, -1, setup, kCdOption, &h, detail);
    if (r != 0) return r;
    r = cdseek(kDataSlot, first, h, detail);
    if (r != 0) {
        cdclose(&h, nullptr);
        return r;
    }
    errno = 0;
    std::FILE* out = plat::fopen(work_path, "w+b");
    if (out == nullptr) {
        set(detail, errno);
        cdclose(&h, nullptr);
        return 11;
    }
    auto* buf = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(kGroupBlocks) * image::kBlockSize));
    if (buf == nullptr) {
        std::fclose(out);
        cdclose(&h, nullptr);
        return kImgNoMemory;
    }
    for (int32_t i = 0; r == 0 && i < count / kGroupBlocks; ++i)
        r = copy_blocks(h, out, buf, kGroupBlocks, imgd::kShortGroup, detail);
    if (r == 0 && count % kGroupBlocks != 0) r = copy_blocks(h, out, buf, count % kGroupBlocks, imgd::kShortRemainder, detail);
    std::free(buf);

    // Closing the work file flushes it: a failure there is a lost write.
    int closed_errno = 0;
    if (std::fclose(out) != 0) closed_errno = errno != 0 ? errno : EIO;
    int cd_detail = 0;
    int c = cdclose(&h, &cd_detail);
    if (r != 0) return r;
    if (closed_errno != 0) {
        set(detail, closed_errno);
        return 13;
    }
    if (c != 0) set(detail, cd_detail);
    return c;
}

}  // namespace pxall
