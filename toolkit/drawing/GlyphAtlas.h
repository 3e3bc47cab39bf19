#pragma once

#include <array>
#include <cstdint>
#include <vector>

// Hinted monochrome glyphs of the embedded Liberation Sans for the bytes 0x20 to 0xFF (cp1252),
// rendered once per process so that drawing text is copies: no FreeType call, no allocation.
struct Glyph {
  std::int32_t left{0};  // from the pen to the mask's first column
  std::int32_t top{0};   // from the baseline up to the mask's first row
  std::int32_t width{0};
  std::int32_t height{0};
  std::int32_t advance{0};  // hinted
  std::uint32_t offset{0};  // of the mask in the atlas, one byte per pixel, non-zero where set
};

struct GlyphFont {
  static constexpr int kFirstByte = 0x20;

  std::int32_t pixelSize{0};
  std::int32_t ascent{0};
  std::int32_t descent{0};
  std::array<Glyph, 256 - kFirstByte> glyphs{};
  std::vector<std::uint8_t> masks{};

  std::int32_t LineHeight() const { return ascent + descent; }
  // Bytes below 0x20 have no glyph.
  const Glyph* Find(unsigned char byte) const {
    return byte < kFirstByte ? nullptr : &glyphs[byte - kFirstByte];
  }
  std::int32_t Advance(unsigned char byte) const {
    return byte < kFirstByte ? 0 : glyphs[byte - kFirstByte].advance;
  }
  std::int32_t Width(const char* text) const;
};

// The two sizes the editor uses: 7 pt and 8 pt at 96 dpi.
enum class FontSize { kSmall9px, kNormal11px };

// Thread-safe; the first call renders both sizes.
const GlyphFont& GetGlyphFont(FontSize size);
