#pragma once

#include <cstdint>

// A four-character code as one number, the first character in the highest byte, so 'abcd'
// reads the same in a hex dump as in the source.
constexpr std::int32_t FourCC(char a, char b, char c, char d) {
  return static_cast<std::int32_t>((static_cast<std::uint32_t>(static_cast<unsigned char>(a)) << 24) |
                                   (static_cast<std::uint32_t>(static_cast<unsigned char>(b)) << 16) |
                                   (static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 8) |
                                   static_cast<std::uint32_t>(static_cast<unsigned char>(d)));
}
