#include "pxall/fileutil.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <new>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/files.h"
#include "pxall/atomic_write.h"
#include "pxall/fdtable.h"
#include "pxall/paths.h"

namespace pxall {

namespace {

constexpr size_t kCopyBuffer = 2048;
constexpr int kMaxRemove = 10000;

int open_with(const char* path, int flags, int permission, int* fd, int32_t* err) {
    if (err) *err = 0;
    if (path == nullptr || fd == nullptr) {
        if (err) *err = EINVAL;
        return 11;
    }
    *fd = open2(path, flags, permission);
    if (*fd < 0) {
        if (err) *err = errno;
        return 11;
    }
    return 0;
}

// Positions fd at record i of n bytes; false when the offset cannot be formed
// or the seek fails (errno set).
bool seek_record(int fd, int32_t i, int32_t n) {
    if (i < 0 || n < 0) {
        errno = EINVAL;
        return false;
    }
    off_t at = static_cast<off_t>(i) * static_cast<off_t>(n);
    return ::lseek(fd, at, SEEK_SET) == at;
}

// How a record transfer starts: 0 to go on, 15 when the seek to record i
// failed, `no_buffer` when there are bytes to move and no buffer.
int start_transfer(int fd, int32_t i, int32_t n, const void* buf, int no_buffer, int32_t* err) {
    if (err) *err = 0;
    if (!seek_record(fd, i, n)) {
        if (err) *err = errno;
        return 15;
    }
    if (n != 0 && buf == nullptr) {
        if (err) *err = EINVAL;
        return no_buffer;
    }
    return 0;
}

// Reads up to n bytes, retrying short reads; the count read, or -1.
ssize_t read_full(int fd, char* buf, size_t n) {
    size_t got = 0;
    while (got < n) {
        ssize_t r = ::read(fd, buf + got, n - got);
        if (r < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (r == 0) break;
        got += static_cast<size_t>(r);
    }
    return static_cast<ssize_t>(got);
}

// Writes all n bytes: true, or false with errno (ENOSPC when the system
// accepted nothing without saying why).
bool write_full(int fd, const char* buf, size_t n) {
    size_t put = 0;
    while (put < n) {
        ssize_t w = ::write(fd, buf + put, n - put);
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (w == 0) {
            errno = ENOSPC;
            return false;
        }
        put += static_cast<size_t>(w);
    }
    return true;
}

bool blank_or_control(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return u <= 0x20 || u == 0x7f;
}

}  // namespace

int open_read(const char* path, int* fd, int32_t* err) { return open_with(path, O_RDONLY, 0, fd, err); }

int open_write(const char* path, int* fd, int32_t* err) {
    // Read and write for the owner at least; the umask decides the rest.
    return open_with(path, O_RDWR | O_CREAT | O_TRUNC, S_IRUSR | S_IWUSR | S_IRGRP | S_IWGRP | S_IROTH | S_IWOTH, fd, err);
}

int open_rdwr(const char* path, int* fd, int32_t* err) { return open_with(path, O_RDWR, 0, fd, err); }

int direct_read(int fd, int32_t i, void* buf, int32_t n, int32_t* err) {
    if (int r = start_transfer(fd, i, n, buf, 14, err); r != 0 || n == 0) return r;
    ssize_t got = read_full(fd, static_cast<char*>(buf), static_cast<size_t>(n));
    if (got < 0) {
        if (err) *err = errno;
        return 14;
    }
    if (got < n) return 14;
    return 0;
}

int direct_write(int fd, int32_t i, const void* buf, int32_t n, int32_t* err) {
    if (int r = start_transfer(fd, i, n, buf, 13, err); r != 0 || n == 0) return r;
    if (!write_full(fd, static_cast<const char*>(buf), static_cast<size_t>(n))) {
        if (err) *err = errno;
        return 13;
    }
    return 0;
}

int file_copy(const char* to, const char* from, int32_t* err) {
    int32_t dummy = 0;
    if (err == nullptr) err = &dummy;
    *err = 0;
    std::unique_ptr<char[]> buf(new (std::nothrow) char[kCopyBuffer]);
    if (!buf) return 20;

    // The source first: a missing source must not cost the destination.
    int in = -1;
    if (int rc = open_read(from, &in, err); rc != 0) return rc;
    // The copy goes beside the destination and takes its place whole.
    std::FILE* out = atomic_open(to, nullptr, err);
    if (out == nullptr) {
        close2(in);
        return 11;
    }
    int rc = 0;
    for (;;) {
        ssize_t got = read_full(in, buf.get(), kCopyBuffer);
        if (got < 0) {
            *err = errno;
            rc = 14;
            break;
        }
        if (got == 0) break;
        if (std::fwrite(buf.get(), 1, static_cast<size_t>(got), out) != static_cast<size_t>(got)) {
            *err = errno != 0 ? errno : EIO;
            rc = 13;
            break;
        }
    }
    close2(in);
    int32_t closed = 0;
    if (atomic_close(out, rc == 0, &closed) != 0 && rc == 0) {
        *err = closed;
        rc = 13;
    }
    return rc;
}

int file_remove(const char* dir, const char* pattern) {
    if (dir == nullptr || blank_or_control(dir[0])) return 401;
    std::string base = dir;
    if (base.back() != '\\') base.push_back('\\');
    std::string pat = (pattern == nullptr || blank_or_control(pattern[0])) ? "*.*" : pattern;
    // The search path must fit the 80-byte path buffer with its NUL.
    if (base.size() + pat.size() >= static_cast<size_t>(kPathSize)) return 402;

    plat::FindData found;
    int32_t h = plat::find_first(base + pat, &found);
    if (h == 0) return 0;
    int matches = 0;
    do {
        ++matches;
        std::string full = base + found.name;
        // A full name beyond the path buffer is left alone, never cut.
        if ((found.attributes & plat::kAttrDirectory) == 0 && full.size() < static_cast<size_t>(kPathSize))
            plat::delete_file(full);
    } while (matches < kMaxRemove && plat::find_next(h, &found));
    plat::find_close(h);
    return 0;
}

}  // namespace pxall
