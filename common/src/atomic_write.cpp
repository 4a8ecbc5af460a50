#include "pxall/atomic_write.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/drives.h"
#include "stale_twins.h"

namespace pxall {

namespace {

struct Staged {
    std::FILE* fp;
    std::string twin;
    std::string target;
};

// Staged streams still open; the caller holds the FILE*, the twin's name is
// known only here.
std::vector<Staged> g_staged;
// Temporaries of commits being built (commit_files.h).
std::vector<std::string> g_reserved;
int g_fail_commits = 0;
int g_fail_errno = 0;
unsigned g_twin_serial = 0;
WriteStepHook g_step_hook = nullptr;

}  // namespace

int write_step(const char* step, const std::string& host) {
    return g_step_hook != nullptr ? g_step_hook(step, host.c_str()) : 0;
}

namespace {

// Creates a new twin beside target, with the permissions a new file gets (or
// the old file's, when there is one). The descriptor, or -1 with errno.
int make_twin(const std::string& target, std::string* twin) {
    if (int e = write_step("create", target)) {
        errno = e;
        return -1;
    }
    struct stat st;
    bool exists = ::stat(target.c_str(), &st) == 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        // No dot in the suffix, so no work-file pattern ("*.TMP") matches it.
        *twin = twin_name(target);
        int fd = ::open(twin->c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            if (exists) ::fchmod(fd, st.st_mode & 07777);
            return fd;
        }
        if (errno != EEXIST) return -1;
    }
    errno = EEXIST;
    return -1;
}

bool write_full(int fd, const unsigned char* p, size_t n) {
    while (n > 0) {
        ssize_t w = ::write(fd, p, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (w == 0) {
            errno = ENOSPC;
            return false;
        }
        p += w;
        n -= static_cast<size_t>(w);
    }
    return true;
}

}  // namespace

// The injected failure of a test, if one is pending: its errno, else 0.
int injected_failure() {
    if (g_fail_commits <= 0) return 0;
    --g_fail_commits;
    return g_fail_errno != 0 ? g_fail_errno : ENOSPC;
}

namespace {

// The twin's bytes are written: make them durable and put them in place.
// The twin's descriptor is closed by the caller. 0 or an errno.
int finish(int fd, const std::string& twin, const std::string& target) {
    if (int e = injected_failure()) return e;
    if (int e = write_step("sync", target)) return e;
    if (::fsync(fd) != 0) return errno;
    if (int e = write_step("rename", target)) return e;
    if (::rename(twin.c_str(), target.c_str()) != 0) return errno;
    // The rename itself must reach the disk too.
    sync_dir(dir_of(target));
    return 0;
}

std::vector<Staged>::iterator find_staged(std::FILE* fp) {
    return std::find_if(g_staged.begin(), g_staged.end(), [fp](const Staged& s) { return s.fp == fp; });
}

}  // namespace

int atomic_write_file(const char* win_path, const void* data, size_t n, int32_t* err) {
    int32_t dummy = 0;
    if (err == nullptr) err = &dummy;
    *err = 0;
    if (win_path == nullptr || (data == nullptr && n > 0)) {
        *err = EINVAL;
        return 11;
    }
    auto target = plat::host_path(win_path);
    if (!target) {
        *err = ENOENT;
        return 11;
    }
    sweep_stale_twins_of(*target);
    std::string twin;
    int fd = make_twin(*target, &twin);
    if (fd < 0) {
        *err = errno;
        return 11;
    }
    int e = write_step("write", *target);
    if (e == 0) e = write_full(fd, static_cast<const unsigned char*>(data), n) ? finish(fd, twin, *target) : errno;
    if (::close(fd) != 0 && e == 0) e = errno;  // cannot happen after a good fsync, but never claim success
    if (e != 0) {
        ::unlink(twin.c_str());
        *err = e;
        return 13;
    }
    return 0;
}

std::FILE* atomic_open(const char* win_path, std::FILE* seed, int32_t* err) {
    int32_t dummy = 0;
    if (err == nullptr) err = &dummy;
    *err = 0;
    if (win_path == nullptr) {
        *err = EINVAL;
        return nullptr;
    }
    auto target = plat::host_path(win_path);
    if (!target) {
        *err = ENOENT;
        return nullptr;
    }
    sweep_stale_twins_of(*target);
    std::string twin;
    int fd = make_twin(*target, &twin);
    if (fd < 0) {
        *err = errno;
        return nullptr;
    }
    std::FILE* fp = ::fdopen(fd, "w+b");
    if (fp == nullptr) {
        *err = errno;
        ::close(fd);
        ::unlink(twin.c_str());
        return nullptr;
    }
    if (seed != nullptr) {
        int e = 0;
        unsigned char buf[8192];
        if (std::fseek(seed, 0, SEEK_SET) != 0) e = errno;
        while (e == 0) {
            size_t got = std::fread(buf, 1, sizeof buf, seed);
            if (got > 0 && std::fwrite(buf, 1, got, fp) != got) e = errno != 0 ? errno : EIO;
            if (got < sizeof buf) {
                if (std::ferror(seed)) e = errno != 0 ? errno : EIO;
                break;
            }
        }
        if (e == 0 && (std::fflush(fp) != 0 || std::fseek(fp, 0, SEEK_SET) != 0)) e = errno != 0 ? errno : EIO;
        if (e != 0) {
            std::fclose(fp);
            ::unlink(twin.c_str());
            *err = e;
            return nullptr;
        }
    }
    g_staged.push_back(Staged{fp, twin, *target});
    return fp;
}

bool atomic_is_staged(std::FILE* fp) { return fp != nullptr && find_staged(fp) != g_staged.end(); }

int atomic_close(std::FILE* fp, bool commit, int32_t* err) {
    int32_t dummy = 0;
    if (err == nullptr) err = &dummy;
    *err = 0;
    auto it = find_staged(fp);
    if (it == g_staged.end()) {
        *err = EBADF;
        return 13;
    }
    Staged s = *it;
    g_staged.erase(it);

    int e = 0;
    if (commit) {
        // A write that failed earlier means the twin is not the whole content.
        if (std::ferror(fp))
            e = EIO;
        else if (std::fflush(fp) != 0)
            e = errno != 0 ? errno : EIO;
        else
            e = finish(::fileno(fp), s.twin, s.target);
    }
    if (std::fclose(fp) != 0 && commit && e == 0) e = errno;
    if (!commit || e != 0) ::unlink(s.twin.c_str());
    if (e != 0) {
        *err = e;
        return 13;
    }
    return 0;
}

void set_write_step_hook(WriteStepHook hook) { g_step_hook = hook; }

bool twin_is_staged(const std::string& host) {
    return std::any_of(g_staged.begin(), g_staged.end(), [&](const Staged& s) { return s.twin == host; }) ||
           std::find(g_reserved.begin(), g_reserved.end(), host) != g_reserved.end();
}

void reserve_twin(const std::string& host, bool held) {
    auto it = std::find(g_reserved.begin(), g_reserved.end(), host);
    if (held && it == g_reserved.end()) g_reserved.push_back(host);
    if (!held && it != g_reserved.end()) g_reserved.erase(it);
}

std::string twin_name(const std::string& target) {
    return target + kTwinTag + std::to_string(::getpid()) + "-" + std::to_string(++g_twin_serial);
}

void atomic_fail_next_commits(int n, int e) {
    g_fail_commits = n > 0 ? n : 0;
    g_fail_errno = e;
}

}  // namespace pxall
