#include "toolkit/drawing/GlyphAtlas.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <mutex>

#include "toolkit/drawing/EmbeddedFont.h"

namespace {

// cp1252 0x80-0x9F; the five unassigned bytes map to controls, which the font draws as .notdef.
constexpr char32_t kCp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2014, 0x2013,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t ToUnicode(int byte) {
  return byte >= 0x80 && byte < 0xA0 ? kCp1252High[byte - 0x80] : char32_t(byte);
}

void Render(FT_Library library, std::int32_t pixelSize, GlyphFont& font) {
  font.pixelSize = pixelSize;
  FT_Face face = nullptr;
  const EmbeddedFontData data = GetEmbeddedFont();
  if (FT_New_Memory_Face(library, data.bytes, FT_Long(data.size), 0, &face) != 0) return;
  if (FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelSize)) == 0) {
    font.ascent = std::int32_t(face->size->metrics.ascender >> 6);
    font.descent = std::int32_t(-(face->size->metrics.descender >> 6));
    for (int byte = GlyphFont::kFirstByte; byte < 256; ++byte) {
      if (FT_Load_Char(face, ToUnicode(byte), FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) != 0)
        continue;
      const FT_GlyphSlot slot = face->glyph;
      const FT_Bitmap& bitmap = slot->bitmap;
      Glyph& glyph = font.glyphs[byte - GlyphFont::kFirstByte];
      glyph.left = slot->bitmap_left;
      glyph.top = slot->bitmap_top;
      glyph.width = std::int32_t(bitmap.width);
      glyph.height = std::int32_t(bitmap.rows);
      glyph.advance = std::int32_t((slot->advance.x + 32) >> 6);
      glyph.offset = std::uint32_t(font.masks.size());
      for (unsigned row = 0; row < bitmap.rows; ++row) {
        const unsigned char* bits = bitmap.buffer + ptrdiff_t(row) * bitmap.pitch;
        for (unsigned col = 0; col < bitmap.width; ++col)
          font.masks.push_back((bits[col >> 3] >> (7 - (col & 7))) & 1);
      }
    }
  }
  FT_Done_Face(face);
}

struct Atlas {
  GlyphFont small{};
  GlyphFont normal{};
};

Atlas BuildAtlas() {
  Atlas atlas;
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return atlas;
  Render(library, 9, atlas.small);
  Render(library, 11, atlas.normal);
  FT_Done_FreeType(library);
  return atlas;
}

}  // namespace

std::int32_t GlyphFont::Width(const char* text) const {
  std::int32_t width = 0;
  for (const char* c = text; c && *c; ++c) width += Advance(static_cast<unsigned char>(*c));
  return width;
}

const GlyphFont& GetGlyphFont(FontSize size) {
  static const Atlas atlas = BuildAtlas();
  return size == FontSize::kSmall9px ? atlas.small : atlas.normal;
}
