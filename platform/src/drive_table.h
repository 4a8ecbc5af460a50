// The drive table as the other platform sources see it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/drives.h"

namespace plat::detail {

struct DriveEntry {
    std::string dir;  // absolute host directory, normalised
    DriveType type;
};

std::optional<DriveEntry> lookup_drive(char letter);
// A removable or CD drive holds a disc when its directory exists.
bool drive_ready(const DriveEntry& drive);
// The letter of a root "D:", "D:\" or "D:/" (either case); an empty root
// names the drive of the current directory.
std::optional<char> parse_root(std::string_view root);

}  // namespace plat::detail
