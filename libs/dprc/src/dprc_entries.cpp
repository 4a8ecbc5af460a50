// The three entries of the price inquiry.
#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

#include "dprc/dprc.h"
#include "dprc/price_inquiry_layout.h"
#include "dprc_internal.h"
#include "platform/files.h"
#include "pxall/errlog.h"
#include "pxall/hinban.h"
#include "pxall/paths.h"
#include "pxall/price_layout.h"

namespace pxdprc {

namespace {

constexpr const char* kFnSearch = "dprc_search";
constexpr const char* kFnUpdate = "dprc_update_wfile";
constexpr const char* kFnPath = "dprc_get_path";

int32_t last_errno() { return errno != 0 ? errno : EIO; }

// What a call holds open; closed on every way out.
struct Open {
    pxall::CdHandle* price = nullptr;
    int fd = -1;
    ~Open() {
        if (fd >= 0) ::close(fd);
        pxall::kakaku_close(&price);
    }
};

int32_t fail(const char* fn, const char* step, int32_t code, int32_t second, int place) {
    pxall::syerr_message(kModule, fn, step, code, second, place);
    return -1;
}

// Reads or writes n bytes at offset: 0, or -1 after the log line of the
// failing step ("lseek", "_read", "_write").
int32_t at_offset(const char* fn, int fd, off_t offset, void* buf, size_t n, bool write, int place) {
    errno = 0;
    if (::lseek(fd, offset, SEEK_SET) != offset) return fail(fn, "lseek", 15, last_errno(), place);
    errno = 0;
    ssize_t got = write ? ::write(fd, buf, n) : ::read(fd, buf, n);
    if (got != static_cast<ssize_t>(n))
        return fail(fn, write ? "_write" : "_read", static_cast<int32_t>(got), last_errno(), place + 1);
    return 0;
}

// The number of whole records in the open work file, or -1 logged.
int32_t record_count(const char* fn, int fd, int place) {
    errno = 0;
    off_t len = ::lseek(fd, 0, SEEK_END);
    if (len < 0) return fail(fn, "lseek", 15, last_errno(), place);
    return static_cast<int32_t>(len / static_cast<off_t>(rec::kSize));
}

}  // namespace

}  // namespace pxdprc

extern "C" int32_t dprc_search(const char* part_no, int32_t price_kind) {
    using namespace pxdprc;
    char path[pxall::kPathSize];
    if (int r = work_path(path); r != 0) return fail(kFnSearch, "get_path_name", r, 0, 1);
    if (part_no == nullptr) return fail(kFnSearch, "kakaku_read", 128, 0, 2);

    Open o;
    int detail = 0;
    int r = open_price(price_kind, &o.price, &detail);
    if (r == -1) return kMsgNoPriceFile;
    if (r != 0) return fail(kFnSearch, "kakaku_open", r, detail, 3);

    errno = 0;
    o.fd = plat::open(path, O_RDWR, 0);
    if (o.fd < 0) {
        errno = 0;
        o.fd = plat::open(path, O_RDWR | O_CREAT | O_TRUNC, 0666);
        if (o.fd < 0) return fail(kFnSearch, "_open", 11, last_errno(), 4);
    }
    int32_t count = record_count(kFnSearch, o.fd, 5);
    if (count < 0) return -1;

    char entry[pxall::price::entry::kSize];
    const char* step = "";
    r = read_price(o.price, part_no, price_kind, entry, &detail, &step);
    if (r != 0 && r != -1) return fail(kFnSearch, step, r, detail, 6);

    char out[rec::kSize];
    make_record(out, count + 1, part_no, entry, r == 0);
    // Written right after the last whole record, so that a piece left by a
    // broken write is covered and the records stay in step.
    if (at_offset(kFnSearch, o.fd, static_cast<off_t>(count) * rec::kSize, out, sizeof out, true, 7) != 0) return -1;
    return 0;
}

extern "C" int32_t dprc_update_wfile(int32_t price_kind) {
    using namespace pxdprc;
    char path[pxall::kPathSize];
    if (int r = work_path(path); r != 0) return fail(kFnUpdate, "get_path_name", r, 0, 11);
    // A kind the price file does not know would read as a zero price and be
    // written over every record: refused, as the price read refuses it.
    if (price_kind < 0 || price_kind > 2) return fail(kFnUpdate, "kakaku_read", 128, price_kind, 10);

    Open o;
    int detail = 0;
    int r = open_price(price_kind, &o.price, &detail);
    if (r != 0 && r != -1) return fail(kFnUpdate, "kakaku_open", r, detail, 12);
    if (r == -1) {
        if (price_kind == 0) return kMsgNoPriceFile;
        // The kind needs PRICE3: tell "no PRICE3" from "no price file".
        pxall::CdHandle* any = nullptr;
        r = open_price(0, &any, &detail);
        pxall::kakaku_close(&any);
        if (r == 0) return kMsgNeedsPrice3;
        if (r == -1) return kMsgNoPriceFile;
        return fail(kFnUpdate, "kakaku_open", r, detail, 13);
    }

    errno = 0;
    o.fd = plat::open(path, O_RDWR, 0);
    if (o.fd < 0) return fail(kFnUpdate, "_open", 11, last_errno(), 14);
    int32_t count = record_count(kFnUpdate, o.fd, 15);
    if (count < 0) return -1;

    for (int32_t i = 0; i < count; ++i) {
        const off_t at = static_cast<off_t>(i) * rec::kSize;
        char line[rec::kSize];
        if (at_offset(kFnUpdate, o.fd, at, line, sizeof line, false, 16) != 0) return -1;
        char part12[pxall::kHinbanSize];
        pxall::edit_hinban12(part12, line + rec::kPartNo);
        char entry[pxall::price::entry::kSize];
        const char* step = "";
        r = read_price(o.price, part12, price_kind, entry, &detail, &step);
        if (r == -1) continue;  // not in this price file: the line stays
        if (r != 0) return fail(kFnUpdate, step, r, detail, 18);
        char price[rec::kPriceSize];
        edit_price(price, entry);
        if (at_offset(kFnUpdate, o.fd, at + static_cast<off_t>(rec::kPrice), price, sizeof price, true, 19) != 0)
            return -1;
    }
    return 0;
}

extern "C" int32_t dprc_get_path(char* path80) {
    using namespace pxdprc;
    char path[pxall::kPathSize];
    int r = work_path(path);
    if (path80 != nullptr) std::memcpy(path80, path, sizeof path);
    if (r != 0) return fail(kFnPath, "get_path_name", r, 0, 21);

    pxall::CdHandle* h = nullptr;
    int detail = 0;
    r = open_price(0, &h, &detail);
    if (r == -1) return kKindNone;
    if (r != 0) return fail(kFnPath, "kakaku_open", r, detail, 22);
    int kind = pxall::kakaku_kind(h);
    pxall::kakaku_close(&h);
    if (kind == pxall::kPriceKakaku) return kKindKakaku;
    if (kind == pxall::kPricePrice3) return kKindPrice3;
    return kKindNone;
}
