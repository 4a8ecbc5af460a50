#include "host_fs.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/errors.h"

namespace plat::detail {

bool equal_fold(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

bool name_less(const std::string& a, const std::string& b) {
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        auto x = static_cast<unsigned char>(fold(a[i]));
        auto y = static_cast<unsigned char>(fold(b[i]));
        if (x != y) return x < y;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

std::vector<std::string> split_components(std::string_view path) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || is_separator(path[i])) {
            if (i > start) parts.emplace_back(path.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

std::string normalize_host(const std::string& path) {
    std::string full = path;
    if (full.empty() || full[0] != '/') full = host_cwd() + "/" + full;
    std::vector<std::string> stack;
    size_t start = 0;
    for (size_t i = 0; i <= full.size(); ++i) {
        if (i == full.size() || full[i] == '/') {
            std::string_view part(full.data() + start, i - start);
            if (part == "..") {
                if (!stack.empty()) stack.pop_back();
            } else if (!part.empty() && part != ".") {
                stack.emplace_back(part);
            }
            start = i + 1;
        }
    }
    std::string out;
    for (const auto& part : stack) out += "/" + part;
    return out.empty() ? "/" : out;
}

std::string join_host(const std::string& dir, const std::string& name) {
    if (dir.empty()) return name;
    if (dir.back() == '/') return dir + name;
    return dir + "/" + name;
}

std::string parent_host(const std::string& path) {
    size_t cut = path.find_last_of('/');
    if (cut == std::string::npos) return ".";
    if (cut == 0) return "/";
    return path.substr(0, cut);
}

std::string base_name(const std::string& path) {
    std::string p = path;
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    size_t cut = p.find_last_of('/');
    return cut == std::string::npos ? p : p.substr(cut + 1);
}

std::optional<std::string> real_path(const std::string& path) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) return std::nullopt;
    std::string out(resolved);
    std::free(resolved);
    return out;
}

bool is_directory(const std::string& host) {
    struct stat st;
    return ::stat(host.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

namespace {

// A regular file, or a folder where one is meant. A device only where the
// open replaces the content ("w" modes): its old bytes are never read, and a
// device such as the always-full one stands for a full disk in the tests.
// FIFOs and sockets never: opening or reading one waits for another process.
bool kind_allowed(mode_t mode, int flags) {
    if (S_ISREG(mode)) return true;
    if (S_ISDIR(mode)) return (flags & O_DIRECTORY) != 0;
    if (S_ISCHR(mode) || S_ISBLK(mode)) return (flags & O_TRUNC) != 0;
    return false;
}

}  // namespace

int open_regular(const std::string& host, int flags, unsigned permission) {
    // A look before opening keeps devices from being opened at all; the
    // check on the open descriptor covers a name swapped in between.
    struct stat st;
    if (::stat(host.c_str(), &st) == 0 && !kind_allowed(st.st_mode, flags)) {
        errno = EACCES;
        return -1;
    }
    int fd = ::open(host.c_str(), flags | O_NONBLOCK | O_CLOEXEC, permission);
    if (fd < 0) {
        // A FIFO without a reader refuses a non-blocking writer with ENXIO.
        if (errno == ENXIO) errno = EACCES;
        return -1;
    }
    if (::fstat(fd, &st) != 0 || !kind_allowed(st.st_mode, flags)) {
        ::close(fd);
        errno = EACCES;
        return -1;
    }
    if ((flags & O_NONBLOCK) == 0) {
        int fl = ::fcntl(fd, F_GETFL);
        if (fl >= 0) ::fcntl(fd, F_SETFL, fl & ~O_NONBLOCK);
    }
    return fd;
}

std::FILE* fopen_regular(const std::string& host, const char* mode) {
    if (mode == nullptr) {
        errno = EINVAL;
        return nullptr;
    }
    std::string m;
    for (const char* c = mode; *c != '\0'; ++c) {
        if (*c != 't' && *c != 'b') m.push_back(*c);
    }
    bool plus = m.find('+') != std::string::npos;
    int flags = 0;
    switch (m.empty() ? '?' : m[0]) {
        case 'r': flags = plus ? O_RDWR : O_RDONLY; break;
        case 'w': flags = (plus ? O_RDWR : O_WRONLY) | O_CREAT | O_TRUNC; break;
        case 'a': flags = (plus ? O_RDWR : O_WRONLY) | O_CREAT | O_APPEND; break;
        default: errno = EINVAL; return nullptr;
    }
    if (m.find('x') != std::string::npos) flags |= O_EXCL;
    int fd = open_regular(host, flags, 0666);
    if (fd < 0) return nullptr;
    std::string fd_mode(1, m[0]);
    if (plus) fd_mode += '+';
    std::FILE* fp = ::fdopen(fd, fd_mode.c_str());
    if (fp == nullptr) {
        int err = errno;
        ::close(fd);
        errno = err;
    }
    return fp;
}

bool exists_host(const std::string& host) {
    struct stat st;
    return ::lstat(host.c_str(), &st) == 0;
}

std::string host_cwd() {
    std::string buf(PATH_MAX, '\0');
    while (::getcwd(buf.data(), buf.size()) == nullptr) {
        if (errno != ERANGE) return {};
        buf.resize(buf.size() * 2);
    }
    buf.resize(std::char_traits<char>::length(buf.c_str()));
    return buf;
}

bool fail(int32_t win_error) {
    set_last_error(win_error);
    return false;
}

bool fail_errno(int err, const std::string& host) {
    if (err == ENOENT && !is_directory(parent_host(host))) return fail(kErrPathNotFound);
    return fail(win_error_from_errno(err));
}

}  // namespace plat::detail
