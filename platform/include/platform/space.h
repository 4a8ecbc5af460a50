// Free space of a drive as the set-up asks for it (sectors per cluster, bytes
// per sector, free clusters), and a per-drive limit that tests set to reach
// "not enough space" and "disk full" without filling a real disk.
//
// With a limit set on a drive, the free space reported is the limit's, and
// each write charged to that drive (charge_disk_write) takes from the bytes
// it lets be written; a write that would go past them fails as a full disk
// does (Windows error 112, C error ENOSPC). Without a limit the disk's own
// free space counts and charges always pass.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/export.h"

namespace plat {

// The cluster geometry reported: eight 512-byte sectors, 4096 bytes a
// cluster; free space is counted in whole clusters.
constexpr uint32_t kSpaceSectorsPerCluster = 8;
constexpr uint32_t kSpaceBytesPerSector = 512;

// The free space of the drive of a root or path ("D:\") as clusters of
// kSpaceSectorsPerCluster x kSpaceBytesPerSector bytes (rounded down).
// False with last_error() for an unmapped drive (3) or a drive without a
// disc (21).
PX_EXPORT bool disk_free_clusters(std::string_view root, uint32_t* sectors_per_cluster, uint32_t* bytes_per_sector,
                                  uint64_t* free_clusters);

// Test hook: drive `letter` reports `bytes` free from now on, and writes
// charged to it fail once they would use more than `writable` bytes (a
// negative `writable`: as many as `bytes`). A negative `bytes` removes the
// limit.
PX_EXPORT void set_disk_space_limit(char letter, int64_t bytes, int64_t writable = -1);
// Removes every limit.
PX_EXPORT void clear_disk_space_limits();

// Takes n bytes from the writable bytes of the drive of win_path: true when
// they fit (or the drive has no limit); false with last_error() 112 and
// errno ENOSPC when they do not, and nothing more can then be written.
PX_EXPORT bool charge_disk_write(std::string_view win_path, uint64_t n);

}  // namespace plat
