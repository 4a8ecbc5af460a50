#include "pxall/vclinf.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "platform/files.h"
#include "pxall/errlog.h"
#include "pxall/fdtable.h"
#include "pxall/paths.h"
#include "pxall/vehicle_work_layout.h"

namespace pxall {

namespace {
namespace vt = vehwork::vinft;

constexpr const char* kModule = "PXSUBV31";

// Place numbers of the logged steps.
enum : int32_t { kAtOpen = 1, kAtSeek = 2, kAtRead = 3, kAtWrite = 4 };

// The path is built once, at the first use that finds a work directory; a
// bare name (no work directory yet) is not kept.
const char* vclinf_path() {
    static char path[kPathSize];
    static bool built = false;
    if (built) return path;
    char buf[kPathSize] = {};
    std::strcpy(buf, vehwork::kVclinfName);
    if (get_path_name(kPathWork, -1, buf) != 0) return nullptr;
    std::memcpy(path, buf, kPathSize);
    built = std::strchr(buf, '\\') != nullptr;
    return path;
}

int fail(VinftContext* ctx, const char* function, const char* step, int32_t fd, int32_t bytes, int32_t place) {
    syerr_message(kModule, function, step, fd, bytes, place);
    term_VINFT(ctx);
    return ctx->on_error != nullptr ? ctx->on_error(ctx) : -1;
}

int transfer(VinftContext* ctx, const char* function, off_t at, void* rbuf, const void* wbuf, int32_t size) {
    if (ctx == nullptr || (rbuf == nullptr && wbuf == nullptr)) return -1;
    if (at < 0 || lseek(ctx->fd, at, SEEK_SET) != at) return fail(ctx, function, "lseek", ctx->fd, size, kAtSeek);
    ssize_t n = rbuf != nullptr ? ::read(ctx->fd, rbuf, static_cast<size_t>(size))
                                : ::write(ctx->fd, wbuf, static_cast<size_t>(size));
    if (n != size)
        return fail(ctx, function, rbuf != nullptr ? "read" : "write", ctx->fd, static_cast<int32_t>(n),
                    rbuf != nullptr ? kAtRead : kAtWrite);
    return size;
}

// A record of the file, else an offset no seek reaches.
off_t record_at(int n) { return n >= 0 && n < vt::kMaxRecords ? static_cast<off_t>(vt::record_offset(n)) : -1; }

}  // namespace

int init_VINFT(VinftContext* ctx) {
    if (ctx == nullptr) return -1;
    const char* path = vclinf_path();
    ctx->fd = path != nullptr ? open2(path, ctx->oflags, (ctx->oflags & O_CREAT) ? ctx->pmode : 0) : -1;
    if (ctx->fd < 0) return fail(ctx, "init_VINFT", "open2", ctx->fd, 0, kAtOpen);
    return ctx->fd;
}

int get_hdr_VINFT(VinftContext* ctx, void* buf) {
    return transfer(ctx, "get_hdr_VINFT", 0, buf, nullptr, static_cast<int32_t>(vt::kHeaderSize));
}

int put_hdr_VINFT(VinftContext* ctx, const void* buf) {
    return transfer(ctx, "put_hdr_VINFT", 0, nullptr, buf, static_cast<int32_t>(vt::kHeaderSize));
}

int get_rec_VINFT(VinftContext* ctx, int n, void* buf) {
    return transfer(ctx, "get_rec_VINFT", record_at(n), buf, nullptr, static_cast<int32_t>(vt::kRecordSize));
}

int put_rec_VINFT(VinftContext* ctx, int n, const void* buf) {
    return transfer(ctx, "put_rec_VINFT", record_at(n), nullptr, buf, static_cast<int32_t>(vt::kRecordSize));
}

void term_VINFT(VinftContext* ctx) {
    if (ctx == nullptr) return;
    if (ctx->fd >= 0) close2(ctx->fd);
    ctx->fd = -1;
}

int chk_ext_VINFT() {
    const char* path = vclinf_path();
    return path != nullptr && plat::file_exists(path) ? 0 : -1;
}

int v_pop_del_vclinftmp() {
    const char* path = vclinf_path();
    return path != nullptr && plat::delete_file(path) ? 0 : -1;
}

}  // namespace pxall

extern "C" int32_t vinf_get_path(VbString* str) {
    char buf[pxall::kPathSize] = {};
    std::strcpy(buf, pxall::vehwork::kVclinfName);
    int r = pxall::get_path_name(pxall::kPathWork, -1, buf);
    if (r != 0 || str == nullptr || str->data == nullptr || str->len <= 0) return r;
    std::memcpy(str->data, buf, static_cast<size_t>(std::min<int32_t>(str->len, pxall::kPathSize)));
    return r;
}
