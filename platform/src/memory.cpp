#include "platform/memory.h"

#include <unistd.h>

namespace plat {

uint64_t physical_memory_bytes() {
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long page = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || page <= 0) return 0;
    return static_cast<uint64_t>(pages) * static_cast<uint64_t>(page);
}

}  // namespace plat
