#pragma once

#include <cstdint>
#include <string_view>

namespace stonereach {

// The 64-bit name hash by which a UOP container finds its entries: Bob
// Jenkins' lookup3 hashlittle2 over the name's bytes with both initial values
// 0, the secondary result in the high 32 bits and the primary in the low.
std::uint64_t uopNameHash(std::string_view name);

} // namespace stonereach
