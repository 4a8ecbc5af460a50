#include <fcntl.h>
#include <unistd.h>

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
