#include "mapdata/IoBuffer.h"

#include <algorithm>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace stonereach {
namespace {

// Every size from none to a few steps: the bytes up to the size are copied
// and compared, those of the slack after it are neither kept nor counted,
// and nothing past the slack is touched.
TEST(StepwiseCopy, CopiesAndComparesExactlyTheBytesAsked) {
    std::mt19937 random(11);
    const auto randomBytes = [&](std::size_t n) {
        std::vector<std::uint8_t> bytes(n);
        std::generate(bytes.begin(), bytes.end(), [&] { return static_cast<std::uint8_t>(random()); });
        return bytes;
    };
    for (std::size_t size = 0; size <= 4 * CopySlackBytes + 3; ++size) {
        const std::vector<std::uint8_t> from = randomBytes(size + CopySlackBytes);
        std::vector<std::uint8_t> other = randomBytes(size + CopySlackBytes);  // its slack differs
        std::copy_n(from.begin(), size, other.begin());
        EXPECT_TRUE(equalInSteps(from.data(), other.data(), size)) << size;
        for (std::size_t at = 0; at < size; ++at) {
            other[at] ^= 0x40;
            ASSERT_FALSE(equalInSteps(from.data(), other.data(), size)) << size << " " << at;
            other[at] ^= 0x40;
        }

        std::vector<std::uint8_t> to(size + 2 * CopySlackBytes, 0xA5);
        copyInSteps(to.data(), from.data(), size);
        EXPECT_TRUE(std::equal(from.begin(), from.begin() + static_cast<std::ptrdiff_t>(size), to.begin())) << size;
        EXPECT_TRUE(std::all_of(to.begin() + static_cast<std::ptrdiff_t>(size + CopySlackBytes), to.end(),
                                [](std::uint8_t b) { return b == 0xA5; }))
            << size;
    }
}

} // namespace
} // namespace stonereach
