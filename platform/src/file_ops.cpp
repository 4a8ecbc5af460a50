#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "host_fs.h"
#include "platform/drives.h"
#include "platform/errors.h"
#include "platform/files.h"

namespace plat {

namespace {

bool same_file(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

bool write_all(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// Copies into a scratch file beside the destination and renames it into place,
// so a failed copy (full disk, read error) leaves the old destination whole.
bool copy_host(const std::string& from, const std::string& to, bool fail_if_exists) {
    int in = detail::open_regular(from, O_RDONLY, 0);
    if (in < 0) return detail::fail_errno(errno, from);
    struct stat src;
    if (::fstat(in, &src) != 0 || S_ISDIR(src.st_mode)) {
        ::close(in);
        return detail::fail(kErrAccessDenied);
    }
    struct stat dst;
    if (::stat(to.c_str(), &dst) == 0) {
        int32_t refusal = fail_if_exists          ? kErrFileExists
                          : same_file(src, dst)   ? kErrSharingViolation  // truncating it would lose the source
                          : S_ISDIR(dst.st_mode)  ? kErrAccessDenied
                                                  : kErrNone;
        if (refusal != kErrNone) {
            ::close(in);
            return detail::fail(refusal);
        }
    }

    // Named after this process, so that a start-up can tell a leftover of a
    // process that no longer runs from a copy under way.
    std::string scratch =
        detail::join_host(detail::parent_host(to), ".pxcopy-" + std::to_string(::getpid()) + "-XXXXXX");
    int out = ::mkstemp(scratch.data());
    if (out < 0) {
        int err = errno;
        ::close(in);
        return detail::fail_errno(err, to);
    }
    int err = 0;
    char buf[64 * 1024];
    for (;;) {
        ssize_t n = ::read(in, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            err = errno;
            break;
        }
        if (n == 0) break;
        if (!write_all(out, buf, static_cast<size_t>(n))) {
            err = errno;
            break;
        }
    }
    ::close(in);
    if (err == 0) {
        // The copy keeps the source's permissions and time of last write, as a Windows copy does.
        ::fchmod(out, src.st_mode & 07777);
        const struct timespec times[2] = {src.st_atim, src.st_mtim};
        ::futimens(out, times);
    }
    if (::close(out) != 0 && err == 0) err = errno;
    if (err == 0 && ::rename(scratch.c_str(), to.c_str()) != 0) err = errno;
    if (err != 0) {
        ::unlink(scratch.c_str());
        return detail::fail_errno(err, to);
    }
    return true;
}

}  // namespace

bool file_exists(std::string_view win_path) {
    auto host = host_path(win_path);
    if (!host) return false;
    struct stat st;
    if (::stat(host->c_str(), &st) != 0) return detail::fail_errno(errno, *host);
    if (S_ISDIR(st.st_mode)) return detail::fail(kErrFileNotFound);
    return true;
}

bool directory_exists(std::string_view win_path) {
    auto host = host_path(win_path);
    if (!host) return false;
    if (!detail::is_directory(*host)) return detail::fail(kErrPathNotFound);
    return true;
}

bool create_directory(std::string_view win_path) {
    auto host = host_path(win_path);
    if (!host) return false;
    if (::mkdir(host->c_str(), 0777) == 0) return true;
    int err = errno;
    if (err == EEXIST) return detail::fail(kErrAlreadyExists);
    if (err == ENOENT) return detail::fail(kErrPathNotFound);
    return detail::fail_errno(err, *host);
}

bool remove_directory(std::string_view win_path) {
    auto host = host_path(win_path);
    if (!host) return false;
    if (::rmdir(host->c_str()) == 0) return true;
    int err = errno;
    if (err == ENOTEMPTY || err == EEXIST) return detail::fail(kErrDirNotEmpty);
    return detail::fail_errno(err, *host);
}

bool delete_file(std::string_view win_path) {
    auto host = host_path(win_path);
    if (!host) return false;
    struct stat st;
    if (::lstat(host->c_str(), &st) != 0) return detail::fail_errno(errno, *host);
    if (S_ISDIR(st.st_mode)) return detail::fail(kErrAccessDenied);
    if (::unlink(host->c_str()) != 0) return detail::fail_errno(errno, *host);
    return true;
}

bool copy_file(std::string_view from, std::string_view to, bool fail_if_exists) {
    auto src = host_path(from);
    if (!src) return false;
    auto dst = host_path(to);
    if (!dst) return false;
    return copy_host(*src, *dst, fail_if_exists);
}

// Like MoveFile: an existing destination is an error, a change of case only
// renames, and a file moves across file systems by copy and delete.
bool move_file(std::string_view from, std::string_view to) {
    auto src = host_path(from);
    if (!src) return false;
    auto dst = host_path(to);
    if (!dst) return false;
    struct stat a, b;
    if (::lstat(src->c_str(), &a) != 0) return detail::fail_errno(errno, *src);
    std::string target = *dst;
    if (::lstat(dst->c_str(), &b) == 0) {
        if (!same_file(a, b)) return detail::fail(kErrAlreadyExists);
        // The destination found the source under another case: take the name as written.
        auto parts = detail::split_components(to);
        if (parts.empty()) return detail::fail(kErrAlreadyExists);
        target = detail::join_host(detail::parent_host(*dst), parts.back());
        if (target == *src) return true;
    }
    if (::rename(src->c_str(), target.c_str()) == 0) return true;
    int err = errno;
    if (err == EXDEV && S_ISREG(a.st_mode)) {
        if (!copy_host(*src, target, true)) return false;
        if (::unlink(src->c_str()) != 0) return detail::fail_errno(errno, *src);
        return true;
    }
    return detail::fail_errno(err, target);
}

}  // namespace plat
