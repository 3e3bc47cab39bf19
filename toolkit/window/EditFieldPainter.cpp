#include "toolkit/window/EditFieldPainter.h"

#include <string>

#include "toolkit/drawing/GlyphAtlas.h"
#include "toolkit/drawing/RasterContext.h"

void EditFieldPainter::Render(const EditFieldText& field, const PixelBuffer& target) {
  RasterContext context(Surface{target.pixels, target.width, target.height, target.stride});
  const GlyphFont& font = GetGlyphFont(FontSize::kSmall9px);
  const std::string& text = field.Text();
  const auto widthOf = [&](size_t count) { return font.Width(text.substr(0, count).c_str()); };
  // Scrolled so that the caret stays inside the field.
  const std::int32_t caretX = widthOf(field.Caret());
  const std::int32_t scroll = caretX >= target.width ? caretX - target.width + 2 : 0;
  const std::int32_t baseline = (target.height + font.ascent - font.descent) / 2;

  context.SetForeColor(kWhite);
  context.FillRect(Rect{0, 0, target.width, target.height});
  const std::int32_t selectionLeft = widthOf(field.SelectionStart()) - scroll;
  const std::int32_t selectionRight = widthOf(field.SelectionEnd()) - scroll;
  if (selectionRight > selectionLeft) {
    context.SetForeColor(kBlack);
    context.FillRect(Rect{selectionLeft, 0, selectionRight, target.height});
  }
  // The text in black, then again in white over the selection only.
  context.SetFont(DrawContext::kSmallFont, kBlack);
  context.MoveTo(Point{-scroll, baseline});
  context.DrawString(text.c_str());
  if (selectionRight > selectionLeft) {
    context.SetClipRect(Rect{selectionLeft, 0, selectionRight, target.height});
    context.SetFont(DrawContext::kSmallFont, kWhite);
    context.MoveTo(Point{-scroll, baseline});
    context.DrawString(text.c_str());
  } else {
    context.SetForeColor(kBlack);
    context.MoveTo(Point{caretX - scroll, 1});
    context.LineTo(Point{caretX - scroll, target.height - 2});
  }
}
