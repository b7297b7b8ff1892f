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

// Nonzero when a byte of the word is a ","; then its lowest set bit is the
// high bit of the first such byte (bits above it may be set wrongly).
inline std::uint64_t comma_bits(std::uint64_t word) {
    const std::uint64_t x = word ^ (',' * kEachByte);
    return (x - kEachByte) & ~x & (0x80 * kEachByte);
}

// Whether the 11 characters from p hold no ",": characters 1 to 8 and 4 to
// 11 as two words.
inline bool no_comma_in_11(const char* p) { return (comma_bits(load8(p)) | comma_bits(load8(p + 3))) == 0; }

// The digit values of the word's eight characters ('0' is 0).
inline std::uint64_t digit_values(std::uint64_t word) { return word - 0x30 * kEachByte; }

// Nonzero when a byte of the word is no digit; then its lowest set bit is
// the high bit of the first such byte: set either by the subtraction of '0'
// (below '0') or by adding 0x76 (above '9'). Bits above it may be set
// wrongly, by a borrow or carry.
inline std::uint64_t non_digit_bits(std::uint64_t word) {
    const std::uint64_t digits = digit_values(word);
    return (digits | (digits + 0x76 * kEachByte)) & (0x80 * kEachByte);
}

// The value of eight digit values (0 to 9, the first in the lowest byte).
inline std::uint64_t value8(std::uint64_t digits) {
    digits = digits * 10 + (digits >> 8);
    return (((digits & 0x000000FF000000FFull) * (100 + (1000000ull << 32))) +
            (((digits >> 16) & 0x000000FF000000FFull) * (1 + (10000ull << 32)))) >>
           32;
}

}  // namespace loglezer::words
