#include <dirent.h>

#include "drive_table.h"
#include "host_fs.h"
#include "platform/errors.h"
#include "platform/files.h"

namespace plat {

namespace {

bool has_drive(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

// The entry of `dir` whose name equals `name` without regard to case. When
// several do, the bytewise smallest wins so the choice never varies.
std::optional<std::string> find_folded(const std::string& dir, const std::string& name) {
    DIR* d = ::opendir(dir.c_str());
    if (d == nullptr) return std::nullopt;
    std::optional<std::string> best;
    while (const dirent* entry = ::readdir(d)) {
        std::string_view found(entry->d_name);
        if (detail::equal_fold(found, name) && (!best || found < *best)) best = std::string(found);
    }
    ::closedir(d);
    return best;
}

// Walks `parts` down from `root`. "." and ".." fold lexically and never climb
// above the root, as on a Windows drive. Existing components take the case
// they have on disk; from the first missing one on, names stay as written.
std::string resolve(const std::string& root, const std::vector<std::string>& parts) {
    std::vector<std::string> stack;
    for (const auto& part : parts) {
        if (part == ".") continue;
        if (part == "..") {
            if (!stack.empty()) stack.pop_back();
            continue;
        }
        stack.push_back(part);
    }
    std::string path = root;
    bool existing = true;
    for (const auto& name : stack) {
        std::string actual = name;
        if (existing && !detail::exists_host(detail::join_host(path, name))) {
            auto found = find_folded(path, name);
            if (found) {
                actual = *found;
            } else {
                existing = false;
            }
        }
        path = detail::join_host(path, actual);
    }
    return path;
}

// True when a host path (lexically folded) lies in the folder of a mapped
// drive, names compared as the drive's files are, without regard to case.
bool in_drive_folder(const std::string& norm) {
    for (int i = 0; i < 26; ++i) {
        auto drive = detail::lookup_drive(static_cast<char>('A' + i));
        if (!drive) continue;
        for (const std::string& dir : {drive->dir, detail::real_path(drive->dir).value_or(drive->dir)}) {
            if (dir == "/") return true;
            if (norm.size() >= dir.size() && detail::equal_fold(std::string_view(norm).substr(0, dir.size()), dir) &&
                (norm.size() == dir.size() || norm[dir.size()] == '/'))
                return true;
        }
    }
    return false;
}

std::optional<std::string> not_found(int32_t code) {
    set_last_error(code);
    return std::nullopt;
}

}  // namespace

std::optional<std::string> host_path(std::string_view win_path) {
    if (win_path.empty()) return not_found(kErrPathNotFound);
    if (win_path.find('\0') != std::string_view::npos) return not_found(kErrInvalidName);

    // The program's own host paths (a file dialog's choice) pass when they lie
    // in a drive's folder. Any other name starting with '/' is a Windows path
    // from the data, which starts at the root of the current drive: no path
    // read from a file ever reaches the host's own folders.
    if (win_path[0] == '/' && in_drive_folder(detail::normalize_host(std::string(win_path))))
        return resolve("/", detail::split_components(win_path));

    if (has_drive(win_path)) {
        auto drive = detail::lookup_drive(win_path[0]);
        if (!drive) return not_found(kErrPathNotFound);
        if (drive->type != kDriveFixed && !detail::drive_ready(*drive)) return not_found(kErrNotReady);
        std::string_view rest = win_path.substr(2);
        if (!rest.empty() && !detail::is_separator(rest[0])) {
            // "D:name" is relative to the current directory when that is on D:.
            std::string cwd = current_directory();
            if (has_drive(cwd) && detail::fold(cwd[0]) == detail::fold(win_path[0])) {
                return host_path(cwd + "\\" + std::string(rest));
            }
        }
        return resolve(drive->dir, detail::split_components(rest));
    }

    std::string cwd = current_directory();
    if (cwd.empty()) return std::nullopt;
    if (detail::is_separator(win_path[0])) {
        // No network paths: "\\server\share" names nothing here.
        if (win_path.size() >= 2 && detail::is_separator(win_path[1])) return not_found(kErrPathNotFound);
        if (has_drive(cwd)) return host_path(cwd.substr(0, 2) + std::string(win_path));
        // Outside every drive there is no drive root to start from.
        return not_found(kErrPathNotFound);
    }
    // Outside every drive the current directory is a host folder; ".." stops
    // there, as at a drive's root.
    if (!has_drive(cwd)) return resolve(detail::normalize_host(cwd), detail::split_components(win_path));
    return host_path(cwd + "\\" + std::string(win_path));
}

std::string windows_path(const std::string& host) {
    const std::string norm = detail::normalize_host(host);
    int best_letter = -1;
    size_t best_len = 0;
    std::string best_rest;
    for (int i = 0; i < 26; ++i) {
        auto drive = detail::lookup_drive(static_cast<char>('A' + i));
        if (!drive) continue;
        // The current directory comes back from the system with links resolved.
        std::string candidates[2] = {drive->dir, detail::real_path(drive->dir).value_or(drive->dir)};
        for (const auto& dir : candidates) {
            bool inside = dir == "/" || norm == dir || (norm.size() > dir.size() && norm.compare(0, dir.size(), dir) == 0 &&
                                                        norm[dir.size()] == '/');
            if (!inside || (best_letter >= 0 && dir.size() <= best_len)) continue;
            best_letter = i;
            best_len = dir.size();
            best_rest = dir == "/" ? norm : norm.substr(dir.size());
        }
    }
    if (best_letter < 0) return norm;
    for (char& c : best_rest) {
        if (c == '/') c = '\\';
    }
    if (best_rest.empty()) best_rest = "\\";
    return std::string(1, static_cast<char>('A' + best_letter)) + ":" + best_rest;
}

}  // namespace plat
