#include "platform/space.h"

#include <cerrno>
#include <map>

#include "platform/errors.h"
#include "platform/files.h"

namespace plat {

namespace {

struct Limit {
    uint64_t reported;  // free bytes the drive reports
    uint64_t writable;  // bytes that may still be written
};

// The limited drives, by upper-case letter.
std::map<char, Limit>& limits() {
    static std::map<char, Limit> m;
    return m;
}

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// The drive letter of a Windows-shaped path, or 0 for a path without one.
char drive_of(std::string_view p) {
    if (p.size() >= 2 && p[1] == ':') return upper(p[0]);
    return 0;
}

}  // namespace

bool disk_free_clusters(std::string_view root, uint32_t* sectors_per_cluster, uint32_t* bytes_per_sector,
                        uint64_t* free_clusters) {
    uint64_t bytes = 0;
    auto it = limits().find(drive_of(root));
    if (it != limits().end()) {
        bytes = it->second.reported;
    } else if (!free_disk_space(root, &bytes, nullptr)) {
        return false;
    }
    const uint64_t cluster = uint64_t{kSpaceSectorsPerCluster} * kSpaceBytesPerSector;
    if (sectors_per_cluster != nullptr) *sectors_per_cluster = kSpaceSectorsPerCluster;
    if (bytes_per_sector != nullptr) *bytes_per_sector = kSpaceBytesPerSector;
    if (free_clusters != nullptr) *free_clusters = bytes / cluster;
    return true;
}

void set_disk_space_limit(char letter, int64_t bytes, int64_t writable) {
    if (bytes < 0) {
        limits().erase(upper(letter));
        return;
    }
    uint64_t w = static_cast<uint64_t>(writable < 0 ? bytes : writable);
    limits()[upper(letter)] = Limit{static_cast<uint64_t>(bytes), w};
}

void clear_disk_space_limits() { limits().clear(); }

bool charge_disk_write(std::string_view win_path, uint64_t n) {
    auto it = limits().find(drive_of(win_path));
    if (it == limits().end()) return true;
    if (n > it->second.writable) {
        it->second.writable = 0;
        set_last_error(kErrDiskFull);
        errno = ENOSPC;
        return false;
    }
    it->second.writable -= n;
    return true;
}

}  // namespace plat
