// Find-files searches. The whole listing is read, matched and sorted when the
// search opens, so the order is the same on every run and host.
#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "host_fs.h"
#include "platform/drives.h"
#include "platform/errors.h"
#include "platform/files.h"

namespace plat {

namespace {

// The stand-in for a disc's volume label is no file of the disc.
constexpr const char* kLabelFile = ".volume-label";

struct Search {
    std::vector<FindData> found;
    size_t next = 0;
};

// Handle h is slot h-1; closed slots are reused.
std::vector<std::optional<Search>>& searches() {
    static std::vector<std::optional<Search>> table;
    return table;
}

Search* lookup(int32_t handle) {
    auto& table = searches();
    if (handle < 1 || static_cast<size_t>(handle) > table.size() || !table[handle - 1]) return nullptr;
    return &*table[handle - 1];
}

FindData describe(const std::string& name, const std::string& host) {
    struct stat st;
    FindData data{name, kAttrArchive, 0};
    if (::stat(host.c_str(), &st) != 0 && ::lstat(host.c_str(), &st) != 0) return data;
    if (S_ISDIR(st.st_mode)) {
        data.attributes = kAttrDirectory;
    } else {
        data.size = static_cast<uint64_t>(st.st_size);
        if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) data.attributes |= kAttrReadOnly;
    }
    return data;
}

bool is_dot_name(const std::string& name) { return name == "." || name == ".."; }

bool listed_before(const FindData& a, const FindData& b) {
    if (is_dot_name(a.name) != is_dot_name(b.name)) return is_dot_name(a.name);
    return detail::name_less(a.name, b.name);
}

}  // namespace

int32_t find_first(std::string_view win_pattern, FindData* out) {
    if (out == nullptr || win_pattern.find('\0') != std::string_view::npos) {
        set_last_error(kErrInvalidParameter);
        return 0;
    }
    std::string dir;
    std::string_view pattern;
    size_t cut = win_pattern.find_last_of("\\/");
    if (cut != std::string_view::npos) {
        dir = std::string(win_pattern.substr(0, cut + 1));
        pattern = win_pattern.substr(cut + 1);
    } else if (win_pattern.size() >= 2 && win_pattern[1] == ':') {
        dir = std::string(win_pattern.substr(0, 2)) + ".";  // "D:*.*" searches D:'s current folder
        pattern = win_pattern.substr(2);
    } else {
        dir = ".";
        pattern = win_pattern;
    }
    if (pattern.empty()) {
        set_last_error(kErrFileNotFound);
        return 0;
    }

    auto host = host_path(dir);
    if (!host) return 0;
    if (!detail::is_directory(*host)) {
        set_last_error(kErrPathNotFound);
        return 0;
    }
    DIR* d = ::opendir(host->c_str());
    if (d == nullptr) {
        int err = errno;
        set_last_error(err == ENOENT ? kErrPathNotFound : win_error_from_errno(err));
        return 0;
    }
    const std::string win_dir = windows_path(*host);
    const bool at_root = *host == "/" || (win_dir.size() == 3 && win_dir[1] == ':');

    std::vector<FindData> found;
    while (const dirent* entry = ::readdir(d)) {
        std::string name(entry->d_name);
        if (is_dot_name(name) || (at_root && name == kLabelFile)) continue;
        if (wildcard_match(pattern, name)) found.push_back(describe(name, detail::join_host(*host, name)));
    }
    ::closedir(d);
    if (!at_root) {
        for (const char* dot : {".", ".."}) {
            if (wildcard_match(pattern, dot)) found.push_back(FindData{dot, kAttrDirectory, 0});
        }
    }
    if (found.empty()) {
        set_last_error(kErrFileNotFound);
        return 0;
    }
    std::sort(found.begin(), found.end(), listed_before);

    auto& table = searches();
    size_t slot = 0;
    while (slot < table.size() && table[slot]) ++slot;
    if (slot == table.size()) table.emplace_back();
    table[slot] = Search{std::move(found), 1};
    *out = table[slot]->found[0];
    return static_cast<int32_t>(slot + 1);
}

bool find_next(int32_t handle, FindData* out) {
    Search* search = lookup(handle);
    if (search == nullptr) {
        set_last_error(kErrInvalidHandle);
        return false;
    }
    if (search->next >= search->found.size()) {
        set_last_error(kErrNoMoreFiles);
        return false;
    }
    if (out == nullptr) {
        set_last_error(kErrInvalidParameter);
        return false;
    }
    *out = search->found[search->next++];
    return true;
}

void find_close(int32_t handle) {
    if (lookup(handle) == nullptr) {
        set_last_error(kErrInvalidHandle);
        return;
    }
    auto& table = searches();
    table[handle - 1].reset();
    while (!table.empty() && !table.back()) table.pop_back();
}

}  // namespace plat
