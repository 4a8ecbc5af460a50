// Drive letters and the translation of Windows-shaped paths into host paths.
//
// The libraries keep Windows-shaped paths ("C:\MST\E1\SHAMEI.DAT"): lengths,
// drive substitutions and comparisons work on them. A path becomes a host path
// only at the moment a file is touched, through host_path().
//
// Drive table file (PXDRIVES.SYS), one drive a line, '#' starts a comment:
//     C=/srv/pxdrom/c
//     D=/media/cdrom,cdrom
//     A=/srv/pxdrom/floppy,removable
// The type is fixed when left out. A relative directory is taken relative to
// the folder that holds the drive table.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/export.h"

namespace plat {

// The values of the Windows drive-type query.
enum DriveType : int32_t {
    kDriveUnknown = 0,
    kDriveNoRootDir = 1,
    kDriveRemovable = 2,
    kDriveFixed = 3,
    kDriveRemote = 4,
    kDriveCdrom = 5,
    kDriveRamdisk = 6,
};

// Maps drive letter (A-Z, either case) onto a host directory.
PX_EXPORT void set_drive(char letter, const std::string& host_dir, DriveType type = kDriveFixed);
PX_EXPORT void remove_drive(char letter);
PX_EXPORT void clear_drives();
// The host directory of a drive, or nullopt when the letter is not mapped.
PX_EXPORT std::optional<std::string> drive_dir(char letter);

// Reads a drive table file; returns false (and maps nothing from it) when the
// file cannot be read or a line is malformed. `error` names the defect.
PX_EXPORT bool load_drive_table(const std::string& host_file, std::string* error = nullptr);

// The drive-type query for a root such as "D:\" or "D:".
// Unmapped letters answer kDriveNoRootDir, as Windows does for a missing drive.
PX_EXPORT DriveType drive_type(std::string_view root);

// Translates a Windows-shaped path into a host path. Drive paths go through
// the drive table, a leading '\' means the root of the current drive, and any
// other relative path resolves against the current directory. Every existing
// component is matched without regard to case; components that do not exist
// yet are kept as written. A host path that begins with '/' and lies in a
// drive's folder passes unchanged (apart from the case matching); any other
// name beginning with '/' is taken as a Windows path from the root of the
// current drive, so that no path read from data reaches a folder outside the
// drives. Fails with kErrPathNotFound for an unmapped drive (or a leading
// separator while the current directory lies on no drive) and kErrNotReady
// for a removable or CD drive that holds no disc.
PX_EXPORT std::optional<std::string> host_path(std::string_view win_path);

// The reverse: the Windows-shaped form of a host path when a drive maps a
// folder that contains it, else the host path itself.
PX_EXPORT std::string windows_path(const std::string& host);

}  // namespace plat
