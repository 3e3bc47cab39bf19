// Text of the raster context: glyph masks from the atlas, laid out on a baseline.
#include <cstring>

#include "toolkit/drawing/RasterContext.h"

namespace {

bool IsBreak(char c) { return c == ' ' || c == '\t'; }

// A tab takes a space's width.
std::int32_t AdvanceOf(const GlyphFont& font, char c) {
  return font.Advance(static_cast<unsigned char>(c == '\t' ? ' ' : c));
}

std::int32_t WidthOf(const GlyphFont& font, const char* begin, const char* end) {
  std::int32_t width = 0;
  for (const char* c = begin; c < end; ++c) width += AdvanceOf(font, *c);
  return width;
}

constexpr char kEllipsis[] = "...";

}  // namespace

void RasterContext::DrawGlyphs(const char* text, const char* end, std::int64_t x, std::int64_t baseline) {
  for (const char* c = text; c < end; ++c) {
    const Glyph* glyph = mFont->Find(static_cast<unsigned char>(*c == '\t' ? ' ' : *c));
    if (!glyph) continue;
    if (glyph->width > 0 && glyph->height > 0) {
      const raster::Point64 at{x + glyph->left, baseline - glyph->top};
      for (const Rect& clip : mClip)
        raster::FillMask(mSurface, clip, mFont->masks.data() + glyph->offset, glyph->width, glyph->height, at,
                         mForePixel);
    }
    x += glyph->advance;
  }
}

void RasterContext::DrawString(const char* text) {
  if (!text) return;
  if (!mFont) mFont = &GetGlyphFont(FontSize::kNormal11px);
  DrawGlyphs(text, text + std::strlen(text), mPen.x - 1, mPen.y);
}

void RasterContext::DrawTextInRect(const char* text, const Rect& rect) {
  if (!text) return;
  if (!mFont) mFont = &GetGlyphFont(FontSize::kNormal11px);
  const Rect device = ToDevice(rect);
  // The rectangle moves 5 pixels left; its top is 12 pixels above the first baseline.
  DrawWrappedText(text, std::int64_t(device.left) - 5, std::int64_t(device.top) + 12, RectWidth(device));
}

// Lines break at spaces and tabs and at a line feed; a word wider than the rectangle is cut and
// ends with "...". Nothing is clipped to the rectangle.
void RasterContext::DrawWrappedText(const char* text, std::int64_t left, std::int64_t baseline,
                                    std::int32_t width) {
  const GlyphFont& font = *mFont;
  const std::int32_t ellipsis = font.Width(kEllipsis);
  const char* p = text;
  bool paragraphStart = true;
  while (true) {
    if (!paragraphStart)
      while (IsBreak(*p)) ++p;
    const char* lineEnd = p;
    std::int32_t lineWidth = 0;
    const char* scan = p;
    bool cut = false;
    while (*scan && *scan != '\n') {
      const char* wordBegin = scan;
      while (IsBreak(*wordBegin)) ++wordBegin;
      const char* wordEnd = wordBegin;
      while (*wordEnd && *wordEnd != '\n' && !IsBreak(*wordEnd)) ++wordEnd;
      const std::int32_t gap = WidthOf(font, scan, wordBegin), word = WidthOf(font, wordBegin, wordEnd);
      if (lineWidth + gap + word <= width || (lineEnd == p && wordBegin == wordEnd)) {
        lineWidth += gap + word;
        lineEnd = scan = wordEnd;
        continue;
      }
      if (lineEnd == p) {
        // A word alone wider than the line: as much of it as fits with the ellipsis.
        const char* fit = scan;
        std::int32_t used = gap;
        for (const char* c = wordBegin; c < wordEnd && used + AdvanceOf(font, *c) + ellipsis <= width; ++c) {
          used += AdvanceOf(font, *c);
          fit = c + 1;
        }
        if (fit == scan) fit = wordBegin;
        DrawGlyphs(p, fit, left, baseline);
        DrawGlyphs(kEllipsis, kEllipsis + 3, left + WidthOf(font, p, fit), baseline);
        lineEnd = scan = wordEnd;
        cut = true;
      }
      break;
    }
    if (!cut) DrawGlyphs(p, lineEnd, left, baseline);
    baseline += font.LineHeight();
    p = lineEnd;
    if (*p == '\n') {
      ++p;
      paragraphStart = true;
      continue;
    }
    paragraphStart = false;
    while (IsBreak(*p)) ++p;
    if (!*p) break;
  }
}
