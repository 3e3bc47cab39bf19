#include "analyser/editor/scope/PhaseScopePainter.h"

#include <algorithm>
#include <cmath>
#include <vector>

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

void PaintBins(DrawContext& context, const PhaseScopeModel& model, const ScopeLook& look) {
  const bool rays = model.GetDrawMode() == PhaseScopeModel::kPolarRays;
  const std::int32_t bins = BinCount(look.density);
  const std::int32_t radius = Radius(model.GetWidth(), model.GetHeight());
  const float r = float(radius);
  const Point centre = PolarCentre(model.GetWidth(), model.GetHeight());
  const float step = k2Pi / float(bins);
  const float full = r * kFullLength;
  const auto& hold = model.GetBinHold();
  auto rim = [&](float a) {
    return Point{centre.x + std::int32_t(r * std::cos(a)), centre.y - std::int32_t(r * std::sin(a))};
  };
  auto inward = [&](float a, float length) {
    return Point{std::int32_t(float(centre.x) + (r - length) * std::cos(a)),
                 std::int32_t(float(centre.y) - (r - length) * std::sin(a))};
  };
  context.SetForeColor(look.colour);
  float length = std::max(hold[0], 0.0f) * full;
  const Point first{std::int32_t(float(centre.x) + (r - length)), centre.y};
  context.MoveTo(first);
  const SectorJump jump = Jump(bins);
  bool jumped = false, reopened = false;
  for (std::int32_t b = 1; b < bins; ++b) {
    const float a = float(b) * step;
    if (hold[b] >= 0.0f) length = hold[b] * full;  // a bin never set keeps the previous length
    if (rays) {
      if (length > 0.001f) {
        context.MoveTo(rim(a));
        context.LineTo(inward(a, length));
      }
      if (!jumped && b >= jump.first) {
        jumped = true;
        b = jump.last - 1;
      }
      continue;
    }
    if (!jumped && b > jump.first) {
      context.LineTo(rim(k5PiBy4));
      jumped = true;
      b = jump.last - 1;
      continue;
    }
    if (jumped && !reopened && b >= jump.last) {
      context.MoveTo(rim(k7PiBy4));
      reopened = true;
    }
    context.LineTo(inward(a, length));
  }
  if (rays) context.MoveTo(Point{centre.x + radius, centre.y});
  context.LineTo(first);
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
      PaintBins(context, model, look);
      break;
  }
}
