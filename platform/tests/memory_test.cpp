// The machine's memory as the libraries read it.
#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/memory.h"

TEST(MemoryTest, PhysicalMemoryIsWholePagesAndMoreThanAProgramNeeds) {
    const uint64_t bytes = plat::physical_memory_bytes();
    EXPECT_GE(bytes, uint64_t{64} << 20);
    EXPECT_EQ(bytes % static_cast<uint64_t>(::sysconf(_SC_PAGESIZE)), 0u);
}
