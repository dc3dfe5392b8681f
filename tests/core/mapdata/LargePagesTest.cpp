#include "mapdata/IoBuffer.h"
#include "mapdata/MemoryPopulation.h"

#include <cstdint>
#include <numeric>

#include <gtest/gtest.h>

namespace stonereach {
namespace {

bool onLargePage(const void* data) { return reinterpret_cast<std::uintptr_t>(data) % HugePageBytes == 0; }

// Buffers and tables on either side of the size that earns large pages:
// the large ones start on a large page, every one keeps what is written to
// it, and each goes back the way it came (the sanitizer builds check that
// an aligned allocation is freed as one).
TEST(LargePages, BuffersAndTablesFromTheThresholdOnStartOnALargePage) {
    for (const std::size_t bytes : {IoBufferAlignedFrom - 1, LargePagesFrom - 1, LargePagesFrom, HugePageBytes + 1}) {
        const IoBuffer buffer = makeIoBuffer(bytes);
        EXPECT_EQ(onLargePage(buffer.get()), bytes >= LargePagesFrom) << bytes;
        buffer[0] = 1;
        buffer[bytes - 1] = 2;
        EXPECT_EQ(buffer[0] + buffer[bytes - 1], 3);
    }

    LargeTable<std::int32_t> table;
    table.reserve(LargePagesFrom / sizeof(std::int32_t) * 3);
    EXPECT_TRUE(onLargePage(table.data()));
    for (int i = 0; i < 1000; ++i)
        table.push_back(i);
    table.resize(table.capacity() + 1);  // grows into a new allocation
    EXPECT_TRUE(onLargePage(table.data()));
    EXPECT_EQ(std::accumulate(table.begin(), table.begin() + 1000, 0), 999 * 1000 / 2);

    const LargeTable<std::uint8_t> small(100, 0xFF);
    EXPECT_EQ(small.back(), 0xFF);
}

} // namespace
} // namespace stonereach
