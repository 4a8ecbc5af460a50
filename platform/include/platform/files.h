// File and directory services on Windows-shaped paths, with Windows error
// numbers (errors.h) set through set_last_error() on failure.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "platform/export.h"

namespace plat {

// File attributes as the find-files service reports them.
enum FileAttr : uint32_t {
    kAttrReadOnly = 0x01,
    kAttrHidden = 0x02,
    kAttrDirectory = 0x10,
    kAttrArchive = 0x20,
    kAttrNormal = 0x80,
};

// Windows wildcard match of a file name, without regard to case: '*' any run,
// '?' one character; "*.*" matches every name and a pattern ending in "." also
// matches names without an extension ("*." is every name without a dot).
PX_EXPORT bool wildcard_match(std::string_view pattern, std::string_view name);

// --- Find files -------------------------------------------------------------
struct FindData {
    std::string name;     // the name as stored on disk
    uint32_t attributes;  // kAttrDirectory, or kAttrArchive for a file (plus read-only)
    uint64_t size;
};

// Opens a search for "dir\pattern". Returns a handle > 0 and the first match,
// or 0 with last_error() 2 (no match), 3 (no such directory) or 21 (not ready).
// "." and ".." are reported for a directory as Windows does, except at a root.
PX_EXPORT int32_t find_first(std::string_view win_pattern, FindData* out);
// The next match: true, or false with last_error() 18 (no more files).
PX_EXPORT bool find_next(int32_t handle, FindData* out);
PX_EXPORT void find_close(int32_t handle);

// --- Directories and files -------------------------------------------------
PX_EXPORT bool file_exists(std::string_view win_path);
PX_EXPORT bool directory_exists(std::string_view win_path);
PX_EXPORT bool create_directory(std::string_view win_path);
PX_EXPORT bool remove_directory(std::string_view win_path);
PX_EXPORT bool delete_file(std::string_view win_path);
// Copies a file; with fail_if_exists an existing destination is an error (80).
PX_EXPORT bool copy_file(std::string_view from, std::string_view to, bool fail_if_exists);
PX_EXPORT bool move_file(std::string_view from, std::string_view to);

// The process's current directory in Windows shape ("C:\PXDROM").
PX_EXPORT std::string current_directory();
PX_EXPORT bool set_current_directory(std::string_view win_path);

// Free bytes on the drive (or folder) of a path; false with 21 for a drive
// that holds no disc.
PX_EXPORT bool free_disk_space(std::string_view win_path, uint64_t* free_bytes, uint64_t* total_bytes);

// The volume label of a drive root ("D:\"). A CD folder carries its label in
// a file ".volume-label" at its root (first line); a folder without one is
// labelled by its own name, as a mounted disc's mount point is. Fails with 21
// for a drive that holds no disc, 3 for an unmapped drive.
PX_EXPORT bool volume_label(std::string_view root, std::string* label);

// --- The C run time's file calls, on Windows-shaped paths -------------------
// fopen: the mode's 't' and 'b' are accepted and ignored (bytes are bytes).
PX_EXPORT std::FILE* fopen(std::string_view win_path, const char* mode);
// open(2) with the POSIX flags; errno as the run time leaves it.
PX_EXPORT int open(std::string_view win_path, int flags, int permission);
// A work file written anew each time, in place: opened for writing at its
// start without truncation (made when missing), and cut by fclose_rewrite at
// the end of what was written. A file truncated to nothing is flushed to the
// disk when it closes on some file systems, and a file deleted and made again
// costs a search for a fresh inode on others; this costs neither. Null with
// errno.
PX_EXPORT std::FILE* fopen_rewrite(std::string_view win_path);
// Cuts the file at the stream's position and closes it: 0, or EOF with errno.
PX_EXPORT int fclose_rewrite(std::FILE* fp);

// A whole file that a screen shows or takes its choices from (a picture, a
// help or list file), read at once through the regular-file check and
// within `limit` bytes fitting its kind: a FIFO, a device or a folder under
// the name is never opened for reading, nor is a file larger than the limit
// read into memory.
enum class ReadWhole { kDone, kNotFound, kCannotOpen, kTooLarge, kReadError };
PX_EXPORT ReadWhole read_whole_file(std::string_view win_path, size_t limit, std::string* bytes);

// fgets as a text-mode stream reads it: a CR LF pair arrives as one LF, so a
// line counts the same bytes here as on Windows. Returns buf or nullptr at end
// of file (or on a read error, with ferror set).
PX_EXPORT char* fgets_text(char* buf, int size, std::FILE* fp);

}  // namespace plat
