// Helpers on host paths and host errors shared by the platform sources.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace plat::detail {

// File names compare like Windows' ANSI names: ASCII letters without regard
// to case, every other byte (CP932 lead and trail bytes) as it is.
inline char fold(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
bool equal_fold(std::string_view a, std::string_view b);
// Listing order: without regard to case, then bytewise so the order is total.
bool name_less(const std::string& a, const std::string& b);

inline bool is_separator(char c) { return c == '\\' || c == '/'; }
// The components of a path split on '\' and '/', empty ones dropped.
std::vector<std::string> split_components(std::string_view path);

// An absolute host path with "." and ".." folded and no trailing '/'.
// A relative path is taken against the process's current directory.
std::string normalize_host(const std::string& path);
std::string join_host(const std::string& dir, const std::string& name);
std::string parent_host(const std::string& path);
std::string base_name(const std::string& path);
std::optional<std::string> real_path(const std::string& path);

bool is_directory(const std::string& host);

// open(2) that accepts only a regular file (or, with O_DIRECTORY in flags, a
// directory): a FIFO, socket or device under the name is refused with EACCES
// and never waited on, as opening a FIFO without a writer would wait for
// ever (a device is let through only for an open that truncates, whose old
// content is never read). Every file the system opens goes through here.
// -1 with errno.
int open_regular(const std::string& host, int flags, unsigned permission);
// The same as a stdio stream, for an fopen mode ("r", "w+", "a" ...; 't' and
// 'b' ignored). Null with errno.
std::FILE* fopen_regular(const std::string& host, const char* mode);
bool exists_host(const std::string& host);  // the name exists (lstat)
// The process's current directory, or "" (errno set) when it cannot be read.
std::string host_cwd();

// Records a Windows error and returns false, for "return fail(...)".
bool fail(int32_t win_error);
// Records the Windows form of errno `err` from a call on `host`. A missing
// name becomes "path not found" when its folder is missing too.
bool fail_errno(int err, const std::string& host);

}  // namespace plat::detail
