#pragma once

#include <cstdint>
#include <cstring>

namespace loglezer::words {

// Eight characters of a line read as one 64-bit word, so that the line
// readers can test them all at once.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the first character is taken as the lowest byte");

// The byte 0x01 in every place: multiplied by a byte, that byte everywhere.
inline constexpr std::uint64_t kEachByte = 0x0101010101010101ull;

// Eight characters as one word, the first in the lowest byte.
inline std::uint64_t load8(const char* p) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    return word;
}

}  // namespace loglezer::words
