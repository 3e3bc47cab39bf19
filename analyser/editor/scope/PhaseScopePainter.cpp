#include "analyser/editor/scope/PhaseScopePainter.h"

using namespace phasescope;

namespace {

constexpr Color kGrid{0x7FFF, 0x7FFF, 0x7FFF};

void PaintXYGround(DrawContext& context, const Rect& area, const PhaseScopeModel& model) {
  const std::int32_t w = model.GetWidth(), h = model.GetHeight();
  const bool centred = model.IsCentred();
  context.SetForeColor(kBlack);
  context.FillRect(area);
  context.SetFont(DrawContext::kSmallFont, kGrid);
  auto line = [&context](std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) {
    context.MoveTo(Point{x0, y0});
    context.LineTo(Point{x1, y1});
  };
  auto text = [&context](std::int32_t x, std::int32_t y, const char* s) {
    context.MoveTo(Point{x, y});
    context.DrawString(s);
  };
  if (!centred) {
    line(w / 2, 16, w / 2, h);
    text(w / 2 - 2, 12, "L");
    line(0, h / 2, w - 16, h / 2);
    text(w - 10, h / 2 + 3, "R");
    line(0, 0, w, h);
    line(0, h, w, 0);
  } else {
    line(w / 2, 0, w / 2, h);
    line(0, h / 2, w, h / 2);
    line(16, 16, w, h);
    text(5, 10, "L");
    line(0, h, w - 16, 16);
    text(w - 10, 10, "R");
  }
}

}  // namespace

void PhaseScopePainter::Paint(DrawContext& context, const Rect& area, const PhaseScopeModel& model,
                              const ScopeLook& look) {
  switch (model.GetDrawMode()) {
    case PhaseScopeModel::kXYLines:
    case PhaseScopeModel::kXYPoints:
      PaintXYGround(context, area, model);
      mLayers.Paint(context, area, model, look);
      break;
    case PhaseScopeModel::kPolarPoints:
      mLayers.Paint(context, area, model, look);
      break;
    case PhaseScopeModel::kPolarRays:
    case PhaseScopeModel::kPolarLines:
      mOutline.Trace(model, BinCount(look.density));
      context.SetForeColor(look.colour);
      mOutline.Draw(context);
      break;
  }
}
