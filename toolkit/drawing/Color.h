#pragma once

#include <cstdint>

// Three 16-bit components, 0xFFFF full. A pixel keeps the high byte of each; reading a pixel
// back gives the byte times 0x101, so colours read from pixels round-trip.
struct Color {
  std::uint16_t red{0};
  std::uint16_t green{0};
  std::uint16_t blue{0};
};

inline bool operator==(const Color& a, const Color& b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue;
}
inline bool operator!=(const Color& a, const Color& b) { return !(a == b); }

constexpr Color kBlack{0, 0, 0};
constexpr Color kWhite{0xFFFF, 0xFFFF, 0xFFFF};

// 0x00RRGGBB
constexpr std::uint32_t ToPixel(Color c) {
  return (std::uint32_t(c.red >> 8) << 16) | (std::uint32_t(c.green >> 8) << 8) | std::uint32_t(c.blue >> 8);
}
constexpr Color FromPixel(std::uint32_t pixel) {
  return Color{std::uint16_t(((pixel >> 16) & 0xFF) * 0x101), std::uint16_t(((pixel >> 8) & 0xFF) * 0x101),
               std::uint16_t((pixel & 0xFF) * 0x101)};
}
