// A data set's folder built beside, put in place, set aside and removed
// (dataset_folder.h).
#include "pxall/dataset_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "platform/drives.h"
#include "pxall/setup_scan.h"
#include "stale_twins.h"

namespace pxall {

namespace {

constexpr char kNoExchangeMark = '~';

bool exists(const std::string& host) {
    struct stat st;
    return ::lstat(host.c_str(), &st) == 0;
}

// The entries of a folder (no "." or ".."): 0 or the C error number.
int entries_of(const std::string& dir, std::vector<std::string>* names) {
    DIR* d = ::opendir(dir.c_str());
    if (d == nullptr) return errno;
    errno = 0;
    while (dirent* e = ::readdir(d)) {
        std::string n = e->d_name;
        if (n != "." && n != "..") names->push_back(n);
    }
    int e = errno;
    ::closedir(d);
    return e;
}

int fsync_path(const std::string& host, int flags) {
    int fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC | flags);
    if (fd < 0) return errno;
    int e = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    // A folder that cannot be synced (some file systems refuse) has still
    // got its entries; a file's bytes must be on the disk.
    if (e == EINVAL && (flags & O_DIRECTORY) != 0) e = 0;
    return e;
}

int remove_host_folder(const std::string& dir, std::string* failed) {
    std::vector<std::string> names;
    int e = entries_of(dir, &names);
    if (e == ENOENT) return 0;
    int first = e;
    if (first != 0) *failed = dir;
    for (const std::string& n : names) {
        const std::string path = dir + "/" + n;
        struct stat st;
        // A folder inside is none the set-up made: it stays, and so does the
        // set's folder, reported below.
        if (::lstat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) continue;
        int r = write_step("remove", path);
        if (r == 0 && ::unlink(path.c_str()) != 0 && errno != ENOENT) r = errno;
        if (r != 0 && first == 0) {
            first = r;
            *failed = path;
        }
    }
    if (first != 0) return first;
    int r = write_step("remove", dir);
    if (r == 0 && ::rmdir(dir.c_str()) != 0 && errno != ENOENT) r = errno;
    if (r != 0) {
        *failed = dir;
        return r;
    }
    sync_dir(dir_of(dir));
    return 0;
}

}  // namespace

std::string aside_of(const std::string& win_dir) {
    size_t sep = win_dir.find_last_of("\\/:");
    size_t at = sep == std::string::npos ? 0 : sep + 1;
    return win_dir.substr(0, at) + kBuildingMark + win_dir.substr(at);
}

bool is_aside_name(const std::string& name) {
    auto alnum = [](char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    if (name.size() != 3 && !(name.size() == 4 && name[3] == kNoExchangeMark)) return false;
    return name[0] == kBuildingMark && alnum(name[1]) && alnum(name[2]);
}

int flush_folder(const std::string& win_dir) {
    auto dir = plat::host_path(win_dir);
    if (!dir) return ENOENT;
    std::vector<std::string> names;
    if (int e = entries_of(*dir, &names)) return e;
    // The disk takes every file's bytes at once; each fsync then waits for
    // its own, instead of one file after another.
    for (const std::string& n : names) {
        int fd = ::open((*dir + "/" + n).c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) continue;  // the fsync below reports it
        ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
        ::close(fd);
    }
    for (const std::string& n : names) {
        const std::string path = *dir + "/" + n;
        int e = write_step("sync", path);
        if (e == 0) e = fsync_path(path, 0);
        if (e != 0) return e;
    }
    int e = write_step("sync", *dir);
    return e != 0 ? e : fsync_path(*dir, O_DIRECTORY);
}

int put_folder_in_place(const std::string& win_dir, std::string* old_at) {
    old_at->clear();
    const std::string win_built = aside_of(win_dir);
    auto built = plat::host_path(win_built);
    auto dir = plat::host_path(win_dir);
    if (!built || !dir) return ENOENT;
    if (int e = flush_folder(win_built)) return e;
    if (int e = write_step("rename", *dir)) return e;
    if (::renameat2(AT_FDCWD, built->c_str(), AT_FDCWD, dir->c_str(), RENAME_EXCHANGE) == 0) {
        *old_at = win_built;
    } else if (errno == ENOENT) {
        // No set in force.
        if (::rename(built->c_str(), dir->c_str()) != 0) return errno;
    } else if (errno == EINVAL) {
        // A file system that cannot exchange two folders: the set in force
        // is set aside under a name of its own first. A kill between the two
        // renames leaves no set listed (both go at the next start-up), never
        // a half one.
        const std::string win_old = win_built + kNoExchangeMark;
        auto old = plat::host_path(win_old);
        std::string failed;
        if (!old) return ENOENT;
        if (int e = remove_host_folder(*old, &failed)) return e;
        if (::rename(dir->c_str(), old->c_str()) != 0) return errno;
        if (::rename(built->c_str(), dir->c_str()) != 0) {
            int e = errno;
            ::rename(old->c_str(), dir->c_str());
            sync_dir(dir_of(*dir));
            return e;
        }
        *old_at = win_old;
    } else {
        return errno;
    }
    sync_dir(dir_of(*dir));
    return 0;
}

int set_folder_aside(const std::string& win_dir) {
    auto dir = plat::host_path(win_dir);
    auto aside = plat::host_path(aside_of(win_dir));
    if (!dir || !aside) return ENOENT;
    if (!exists(*dir)) return 0;
    std::string failed;
    if (int e = remove_host_folder(*aside, &failed)) return e;
    if (int e = write_step("rename", *dir)) return e;
    if (::rename(dir->c_str(), aside->c_str()) != 0) return errno;
    sync_dir(dir_of(*dir));
    return 0;
}

int remove_folder(const std::string& win_dir, std::string* failed) {
    std::string unused;
    if (failed == nullptr) failed = &unused;
    failed->clear();
    auto dir = plat::host_path(win_dir);
    if (!dir) {
        *failed = win_dir;
        return ENOENT;
    }
    int e = remove_host_folder(*dir, failed);
    if (e != 0) *failed = plat::windows_path(*failed);
    return e;
}

}  // namespace pxall
