#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "host_fs.h"
#include "platform/drives.h"
#include "platform/errors.h"
#include "platform/files.h"

namespace plat {

std::FILE* fopen(std::string_view win_path, const char* mode) {
    if (mode == nullptr) {
        errno = EINVAL;
        return nullptr;
    }
    auto host = host_path(win_path);
    if (!host) {
        errno = ENOENT;
        return nullptr;
    }
    std::FILE* fp = detail::fopen_regular(*host, mode);
    if (fp == nullptr) set_last_error(win_error_from_errno(errno));
    return fp;
}

ReadWhole read_whole_file(std::string_view win_path, size_t limit, std::string* bytes) {
    bytes->clear();
    auto host = host_path(win_path);
    if (!host) return ReadWhole::kNotFound;
    int fd = detail::open_regular(*host, O_RDONLY, 0);
    if (fd < 0) {
        set_last_error(win_error_from_errno(errno));
        return errno == ENOENT || errno == ENOTDIR ? ReadWhole::kNotFound : ReadWhole::kCannotOpen;
    }
    struct stat st;
    ReadWhole result = ReadWhole::kDone;
    if (::fstat(fd, &st) != 0) {
        result = ReadWhole::kReadError;
    } else if (static_cast<uint64_t>(st.st_size) > limit) {
        result = ReadWhole::kTooLarge;
    } else {
        // One byte past the size read so far tells a file that grew on the way.
        bytes->resize(static_cast<size_t>(st.st_size) + 1);
        size_t got = 0;
        while (result == ReadWhole::kDone && got < bytes->size()) {
            ssize_t n = ::read(fd, bytes->data() + got, bytes->size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) result = ReadWhole::kReadError;
            if (n <= 0) break;
            got += static_cast<size_t>(n);
            if (got > limit) result = ReadWhole::kTooLarge;
            else if (got == bytes->size()) bytes->resize(std::min(limit + 1, got * 2));
        }
        bytes->resize(got);
    }
    ::close(fd);
    if (result != ReadWhole::kDone) bytes->clear();
    return result;
}

int open(std::string_view win_path, int flags, int permission) {
    auto host = host_path(win_path);
    if (!host) {
        errno = ENOENT;
        return -1;
    }
    int fd = detail::open_regular(*host, flags, static_cast<unsigned>(permission));
    if (fd < 0) {
        int err = errno;
        set_last_error(win_error_from_errno(err));
        errno = err;
    }
    return fd;
}

std::FILE* fopen_rewrite(std::string_view win_path) {
    auto host = host_path(win_path);
    if (!host) {
        errno = ENOENT;
        return nullptr;
    }
    const int fd = detail::open_regular(*host, O_WRONLY | O_CREAT, 0666);
    std::FILE* fp = fd < 0 ? nullptr : ::fdopen(fd, "w");
    if (fp == nullptr) {
        const int err = errno;
        if (fd >= 0) ::close(fd);
        set_last_error(win_error_from_errno(err));
        errno = err;
    }
    return fp;
}

int fclose_rewrite(std::FILE* fp) {
    if (fp == nullptr) {
        errno = EINVAL;
        return EOF;
    }
    bool ok = std::fflush(fp) == 0;
    const off_t end = ok ? ::ftello(fp) : -1;
    ok = end >= 0 && ::ftruncate(::fileno(fp), end) == 0;
    const int err = errno;
    if (std::fclose(fp) != 0) return EOF;
    if (!ok) {
        errno = err;
        return EOF;
    }
    return 0;
}

// A CR LF pair is one LF and counts as one byte against `size`, as in the
// Windows run time's text mode; a CR not followed by LF stays.
char* fgets_text(char* buf, int size, std::FILE* fp) {
    if (buf == nullptr || size <= 0 || fp == nullptr) {
        errno = EINVAL;
        return nullptr;
    }
    // One lock for the line, not one a character.
    ::flockfile(fp);
    int count = 0;
    bool failed = false;
    while (count < size - 1) {
        int c = ::getc_unlocked(fp);
        if (c == EOF) {
            failed = std::ferror(fp) != 0;
            break;
        }
        if (c == '\r') {
            int after = ::getc_unlocked(fp);
            if (after == '\n') {
                c = '\n';
            } else if (after != EOF) {
                std::ungetc(after, fp);
            } else if (std::ferror(fp)) {
                failed = true;
                break;
            }
        }
        buf[count++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    ::funlockfile(fp);
    if (failed) return nullptr;
    buf[count] = '\0';
    if (count == 0 && size > 1) return nullptr;
    return buf;
}

}  // namespace plat
