#include "analyser/editor/scope/PhaseScopeOutline.h"

#include <algorithm>
#include <cmath>

#include "analyser/editor/scope/PhaseScopeModel.h"

using namespace phasescope;

void PhaseScopeOutline::Trace(const PhaseScopeModel& model, std::int32_t bins) {
  mCount = 0;
  const bool rays = model.GetDrawMode() == PhaseScopeModel::kPolarRays;
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
  float length = std::max(hold[0], 0.0f) * full;
  const Point first{std::int32_t(float(centre.x) + (r - length)), centre.y};
  MoveTo(first);
  const SectorJump jump = Jump(bins);
  bool jumped = false, reopened = false;
  for (std::int32_t b = 1; b < bins; ++b) {
    const float a = float(b) * step;
    if (hold[b] >= 0.0f) length = hold[b] * full;  // a bin never set keeps the previous length
    if (rays) {
      if (length > 0.001f) {
        MoveTo(rim(a));
        LineTo(inward(a, length));
      }
      if (!jumped && b >= jump.first) {
        jumped = true;
        b = jump.last - 1;
      }
      continue;
    }
    if (!jumped && b > jump.first) {
      LineTo(rim(k5PiBy4));
      jumped = true;
      b = jump.last - 1;
      continue;
    }
    if (jumped && !reopened && b >= jump.last) {
      MoveTo(rim(k7PiBy4));
      reopened = true;
    }
    LineTo(inward(a, length));
  }
  if (rays) MoveTo(Point{centre.x + radius, centre.y});
  LineTo(first);
}

void PhaseScopeOutline::Draw(DrawContext& context) const {
  for (std::int32_t i = 0; i < mCount; ++i) {
    if (mSteps[i].line)
      context.LineTo(mSteps[i].to);
    else
      context.MoveTo(mSteps[i].to);
  }
}

bool PhaseScopeOutline::operator==(const PhaseScopeOutline& other) const {
  return mCount == other.mCount &&
         std::equal(mSteps.begin(), mSteps.begin() + mCount, other.mSteps.begin(),
                    [](const Step& a, const Step& b) { return a.line == b.line && a.to == b.to; });
}
