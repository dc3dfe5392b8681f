#include "mapdata/UopNameHash.h"

#include <bit>

#include "mapdata/LittleEndian.h"

namespace stonereach {

namespace {

struct State {
    std::uint32_t a;
    std::uint32_t b;
    std::uint32_t c;
};

// lookup3's mix(): reversible, every input bit reaches every output bit.
void mix(State& s) {
    s.a -= s.c; s.a ^= std::rotl(s.c, 4);  s.c += s.b;
    s.b -= s.a; s.b ^= std::rotl(s.a, 6);  s.a += s.c;
    s.c -= s.b; s.c ^= std::rotl(s.b, 8);  s.b += s.a;
    s.a -= s.c; s.a ^= std::rotl(s.c, 16); s.c += s.b;
    s.b -= s.a; s.b ^= std::rotl(s.a, 19); s.a += s.c;
    s.c -= s.b; s.c ^= std::rotl(s.b, 4);  s.b += s.a;
}

// lookup3's final(): the last mixing of the three words.
void finalMix(State& s) {
    s.c ^= s.b; s.c -= std::rotl(s.b, 14);
    s.a ^= s.c; s.a -= std::rotl(s.c, 11);
    s.b ^= s.a; s.b -= std::rotl(s.a, 25);
    s.c ^= s.b; s.c -= std::rotl(s.b, 16);
    s.a ^= s.c; s.a -= std::rotl(s.c, 4);
    s.b ^= s.a; s.b -= std::rotl(s.a, 14);
    s.c ^= s.b; s.c -= std::rotl(s.b, 24);
}

// The little-endian word of up to 4 bytes, missing bytes counting as zero.
std::uint32_t partialWord(const std::uint8_t* p, std::size_t count) {
    std::uint32_t word = 0;
    for (std::size_t i = 0; i < count && i < 4; ++i)
        word |= static_cast<std::uint32_t>(p[i]) << (8 * i);
    return word;
}

} // namespace

std::uint64_t uopNameHash(std::string_view name) {
    const auto* k = reinterpret_cast<const std::uint8_t*>(name.data());
    std::size_t length = name.size();
    const std::uint32_t start = 0xDEADBEEFu + static_cast<std::uint32_t>(length);
    State s{start, start, start};

    while (length > 12) {
        s.a += le::u32(k);
        s.b += le::u32(k + 4);
        s.c += le::u32(k + 8);
        mix(s);
        length -= 12;
        k += 12;
    }
    // The last 1..12 bytes; an empty name skips the final mix.
    if (length > 0) {
        s.a += partialWord(k, length);
        if (length > 4)
            s.b += partialWord(k + 4, length - 4);
        if (length > 8)
            s.c += partialWord(k + 8, length - 8);
        finalMix(s);
    }
    return (static_cast<std::uint64_t>(s.b) << 32) | s.c;
}

} // namespace stonereach
