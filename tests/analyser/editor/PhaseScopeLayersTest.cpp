// The scope's kept layers against painting every layer, oldest first, in its colour: the same
// pixels over a busy background, and the context's colour and pen left alike, through ticks,
// draws skipped or repeated, partial areas, clears, density and decay changes and every mode
// that paints layers.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "analyser/editor/scope/PhaseScopeLayers.h"
#include "analyser/editor/scope/PhaseScopePainter.h"

namespace {

using namespace phasescope;

constexpr std::int32_t kSize = 200;

// Every layer, oldest first, as one line or dot at a time.
void PaintEveryLayer(DrawContext& context, const PhaseScopeModel& model, const ScopeLook& look) {
  const std::int32_t decay = Effective(look.decay);
  const std::int32_t points = PointsPerLayer(look.density);
  for (std::int32_t layer = model.GetLayerCount(decay) - 1; layer >= 0; --layer) {
    context.SetForeColor(LayerColour(look.colour, decay - layer, decay));
    const std::vector<std::int32_t>& xs = model.LayerXs(layer);
    const std::vector<std::int32_t>& ys = model.LayerYs(layer);
    for (std::int32_t i = 0; i < points; ++i) {
      if (model.GetDrawMode() != PhaseScopeModel::kXYLines || i == 0) context.MoveTo(Point{xs[i], ys[i]});
      context.LineTo(Point{xs[i], ys[i]});
    }
  }
}

// A background no layer colour has, so a pixel kept or painted wrongly shows.
void Background(OGWorld& world) {
  const Surface& s = world.GetSurface();
  for (std::int32_t y = 0; y < s.height; ++y)
    for (std::int32_t x = 0; x < s.width; ++x) s.pixels[y * s.stride + x] = 0x010000u * std::uint32_t(x ^ y);
}

bool SameState(OGWorld& a, OGWorld& b) {
  if (a.GetForeColor() != b.GetForeColor()) return false;
  // The pens: a line from each to the same point.
  a.SetForeColor(kWhite);
  b.SetForeColor(kWhite);
  a.LineTo(Point{kSize / 2, 3});
  b.LineTo(Point{kSize / 2, 3});
  return true;
}

std::vector<std::uint32_t> Pixels(const OGWorld& world) {
  const Surface& s = world.GetSurface();
  return std::vector<std::uint32_t>(s.pixels, s.pixels + s.stride * s.height);
}

TEST(PhaseScopeLayers, PaintWhatEveryLayerOldestFirstWould) {
  std::mt19937 random(21);
  std::uniform_real_distribution<float> sample(-1.2f, 1.2f);
  std::uniform_int_distribution<int> pick(0, 99);
  PhaseScopeModel model(kSize, kSize);
  PhaseScopeLayers layers(kSize, kSize);
  ScopeSettings settings;
  settings.plotType = 0;
  settings.xyStyle = 1;
  settings.autoGain = false;
  settings.density = 9;
  settings.decay = 4;
  std::vector<float> left(kFrames), right(kFrames);
  for (int step = 0; step < 400; ++step) {
    const int roll = pick(random);
    if (roll < 5) {
      model.Clear();
    } else if (roll < 10) {
      settings.density = 1 + pick(random) % 10;
    } else if (roll < 15) {
      settings.decay = 1 + pick(random) % 10;
    } else if (roll < 25) {
      const int mode = pick(random) % 5;  // XY lines, XY points, vector lines, polar points, polar rays
      settings.plotType = mode < 2 ? 0 : mode == 2 ? 1 : 2;
      settings.xyStyle = mode == 1 ? 0 : 1;
      settings.polarStyle = mode == 3 ? 0 : 1;
    }
    settings.enabled = pick(random) >= 5;
    const int ticks = pick(random) < 80 ? 1 : pick(random) % 14;
    for (int t = 0; t < ticks; ++t) {
      for (std::int32_t i = 0; i < kFrames; ++i) {
        left[i] = sample(random);
        right[i] = pick(random) < 50 ? sample(random) : left[i];
      }
      model.Advance(settings, left.data(), right.data());
    }
    if (model.GetDrawMode() == PhaseScopeModel::kPolarRays ||
        model.GetDrawMode() == PhaseScopeModel::kPolarLines)
      continue;
    Rect area{0, 0, kSize, kSize};
    if (pick(random) < 30)
      area = Rect{pick(random), pick(random) * 2, 100 + pick(random), 200 - pick(random) / 3};
    const ScopeLook look{Color{std::uint16_t(0x1234 * (step % 7)), 0xFFFF, 0x8000}, settings.density,
                         settings.decay};

    OGWorld kept(Rect{0, 0, kSize, kSize}), every(Rect{0, 0, kSize, kSize});
    Background(kept);
    Background(every);
    // What the area leaves alone stays: only the area is the reference's.
    every.SetClipRect(area);
    kept.SetClipRect(area);
    for (int draws = pick(random) < 10 ? 2 : 1; draws > 0; --draws) layers.Paint(kept, area, model, look);
    PaintEveryLayer(every, model, look);
    ASSERT_EQ(Pixels(kept), Pixels(every)) << "step " << step;
    ASSERT_TRUE(SameState(kept, every)) << "step " << step;
    ASSERT_EQ(Pixels(kept), Pixels(every)) << "pen, step " << step;
  }
}

}  // namespace
