#include <sys/statvfs.h>

#include <cerrno>
#include <cstdio>

#include "drive_table.h"
#include "host_fs.h"
#include "platform/errors.h"
#include "platform/files.h"

namespace plat {

namespace {

constexpr const char* kLabelFile = ".volume-label";
// A label is one short line; a larger file is not read further.
constexpr size_t kLabelReadLimit = 4096;

}  // namespace

bool free_disk_space(std::string_view win_path, uint64_t* free_bytes, uint64_t* total_bytes) {
    auto host = host_path(win_path);
    if (!host) return false;
    struct statvfs vfs;
    if (::statvfs(host->c_str(), &vfs) != 0) {
        int err = errno;
        return detail::fail(err == ENOENT ? kErrPathNotFound : win_error_from_errno(err));
    }
    // The bytes this user may still write, as Windows reports them.
    if (free_bytes != nullptr) *free_bytes = static_cast<uint64_t>(vfs.f_bavail) * vfs.f_frsize;
    if (total_bytes != nullptr) *total_bytes = static_cast<uint64_t>(vfs.f_blocks) * vfs.f_frsize;
    return true;
}

bool volume_label(std::string_view root, std::string* label) {
    auto letter = detail::parse_root(root);
    if (!letter) return detail::fail(kErrInvalidName);
    auto drive = detail::lookup_drive(*letter);
    if (!drive) return detail::fail(kErrPathNotFound);
    if (!detail::drive_ready(*drive)) return detail::fail(drive->type == kDriveFixed ? kErrPathNotFound : kErrNotReady);

    std::string found;
    const std::string file = detail::join_host(drive->dir, kLabelFile);
    if (std::FILE* fp = detail::fopen_regular(file, "rb")) {
        int c;
        while (found.size() < kLabelReadLimit && (c = std::getc(fp)) != EOF && c != '\n') {
            found.push_back(static_cast<char>(c));
        }
        bool failed = std::ferror(fp) != 0;
        std::fclose(fp);
        if (failed) return detail::fail(kErrReadFault);
        while (!found.empty() && (found.back() == '\r' || found.back() == '\n')) found.pop_back();
    } else if (errno == ENOENT) {
        found = detail::base_name(drive->dir);
        if (found == "/") found.clear();
    } else {
        return detail::fail_errno(errno, file);
    }
    if (label != nullptr) *label = found;
    return true;
}

}  // namespace plat
