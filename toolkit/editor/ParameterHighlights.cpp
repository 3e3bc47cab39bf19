#include "toolkit/editor/ParameterHighlights.h"

#include <algorithm>

#include "toolkit/frames/Frame.h"

void ParameterHiliteAwareFrame::Erase(std::int32_t source) {
  mHilites.erase(std::remove_if(mHilites.begin(), mHilites.end(),
                                [source](const Hilite& h) { return h.source == source; }),
                 mHilites.end());
}

void ParameterHiliteAwareFrame::RedrawFrame() {
  if (mFrame) mFrame->Redraw(nullptr, true);
}

void ParameterHiliteAwareFrame::SetHilite(std::int32_t source, std::int32_t value) {
  Erase(source);
  mHilites.push_back(Hilite{source, value});
  RedrawFrame();
}

void ParameterHiliteAwareFrame::RemoveHilite(std::int32_t source) {
  Erase(source);
  RedrawFrame();
}

void ParameterHiliteAwareFrame::ClearHilites() {
  mHilites.clear();
  RedrawFrame();
}

namespace {

Color HighlightColor(std::int32_t type) {
  switch (type) {
    case 0:
      return Color{0xFFFF, 0, 0};
    case 1:
      return Color{0x4747, 0x8989, 0xFEFE};
    case 2:
      return Color{0, 0xFFFF, 0};
    case 3:
      return Color{0xFFFF, 0xFFFF, 0};
    default:
      return Color{0, 0, 0};
  }
}

enum Corner : unsigned { kTopLeft = 1, kTopRight = 2, kBottomLeft = 4, kBottomRight = 8 };

unsigned CornersOf(std::int32_t mode) {
  switch (mode) {
    case 0:
      return kTopLeft | kTopRight | kBottomLeft | kBottomRight;
    case 2:
      return kTopLeft;
    case 3:
      return kTopRight;
    case 4:
      return kBottomLeft;
    case 5:
      return kBottomRight;
    case 6:
      return kTopLeft | kBottomLeft;
    case 7:
      return kTopRight | kBottomRight;
    case 8:
      return kTopLeft | kTopRight;
    case 9:
      return kBottomLeft | kBottomRight;
    default:
      return 0;  // mode 1 and unknown modes: none
  }
}

void Bracket(DrawContext& context, Point a, Point corner, Point b) {
  context.MoveTo(a);
  context.LineTo(corner);
  context.LineTo(b);
}

}  // namespace

void DefaultParameterHighlighter::Draw(Frame& frame, DrawContext& context, const Rect&) {
  const std::int32_t w = frame.GetWidth(), h = frame.GetHeight();
  const unsigned corners = CornersOf(mMode);
  context.SetForeColor(HighlightColor(mType));
  if (corners & kTopLeft) Bracket(context, {3, 0}, {0, 0}, {0, 3});
  if (corners & kTopRight) Bracket(context, {w - 4, 0}, {w - 1, 0}, {w - 1, 3});
  if (corners & kBottomLeft) Bracket(context, {0, h - 4}, {0, h - 1}, {3, h - 1});
  if (corners & kBottomRight) Bracket(context, {w - 4, h - 1}, {w - 1, h - 1}, {w - 1, h - 4});
}
