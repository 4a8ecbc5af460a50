// The machine's memory, for what the libraries may keep in theirs.
#pragma once

#include <cstdint>

#include "platform/export.h"

namespace plat {

// Bytes of physical memory; 0 when they cannot be read.
PX_EXPORT uint64_t physical_memory_bytes();

}  // namespace plat
