#include "analyser/editor/scope/PhaseScopeLayers.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "analyser/editor/scope/PhaseScopePainter.h"

using namespace phasescope;

namespace {

// Serials are pixel values: 24 bits. Past that the layers are drawn again from 1.
constexpr std::uint32_t kLastSerial = 0xFFFFFF;

// One layer in the context's colour: its first `points` points joined by lines, or as dots.
void DrawLayerOn(DrawContext& context, const PhaseScopeModel& model, std::int32_t layer, bool lines,
                 std::int32_t points) {
  const std::vector<std::int32_t>& xs = model.LayerXs(layer);
  const std::vector<std::int32_t>& ys = model.LayerYs(layer);
  if (lines) {
    context.PolyLineTo(xs, ys, points);
    return;
  }
  for (std::int32_t i = 0; i < points; ++i) {
    context.MoveTo(Point{xs[i], ys[i]});
    context.LineTo(Point{xs[i], ys[i]});
  }
}

// Roughly what drawing the newest layer costs, in pixels: those of its lines, or four a dot for
// the calls that draw it.
std::int64_t LayerWork(const PhaseScopeModel& model, bool lines, std::int32_t points) {
  if (!lines) return 4 * std::int64_t(points);
  const std::vector<std::int32_t>& xs = model.LayerXs(0);
  const std::vector<std::int32_t>& ys = model.LayerYs(0);
  std::int64_t pixels = points;
  for (std::int32_t i = 1; i < points; ++i)
    pixels += std::max(std::abs(xs[i] - xs[i - 1]), std::abs(ys[i] - ys[i - 1]));
  return pixels;
}

}  // namespace

PhaseScopeLayers::PhaseScopeLayers(std::int32_t width, std::int32_t height)
    : mWidth(std::max(width, 0)),
      mHeight(std::max(height, 0)),
      mNewest(Rect{0, 0, mWidth, mHeight}),
      mColours(Rect{0, 0, mWidth, mHeight}),
      mMask(Rect{0, 0, mWidth, mHeight}) {}

void PhaseScopeLayers::CatchUp(const PhaseScopeModel& model, const Shape& shape, std::int32_t layers) {
  const std::uint32_t made = model.GetLayersMade();
  std::uint32_t fresh = made - mMade;
  if (!(shape == mShape) || mSerial > kLastSerial - std::uint32_t(layers)) {
    mNewest.SetForeColor(kBlack);
    mNewest.FillRect(mNewest.GetBounds());
    mSerial = 0;
    mShape = shape;
    fresh = std::uint32_t(layers);
  }
  mMade = made;
  // Layers older than these were drawn before or lie beyond the newest `layers` by now.
  for (std::int32_t layer = std::int32_t(std::min(fresh, std::uint32_t(layers))) - 1; layer >= 0; --layer)
    DrawLayer(model, layer, ++mSerial);
}

void PhaseScopeLayers::DrawLayer(const PhaseScopeModel& model, std::int32_t layer, std::uint32_t serial) {
  mNewest.SetForeColor(FromPixel(serial));
  DrawLayerOn(mNewest, model, layer, mShape.lines, mShape.points);
}

void PhaseScopeLayers::Paint(DrawContext& context, const Rect& area, const PhaseScopeModel& model,
                             const ScopeLook& look) {
  Shape shape;
  shape.lines = model.GetDrawMode() == PhaseScopeModel::kXYLines;
  shape.points = PointsPerLayer(look.density);
  shape.decay = Effective(look.decay);
  const std::int32_t layers = model.GetLayerCount(shape.decay);
  if (layers == 0) return;
  Rect part = area;
  IntersectRect(part, Rect{0, 0, mWidth, mHeight});
  // The kept layers cost a pass over the area; they pay when drawing the older layers again would
  // cost more. Either way the pixels are the same, and the kept ones catch up whenever used.
  if ((layers - 1) * LayerWork(model, shape.lines, shape.points) <=
      std::int64_t(RectWidth(part)) * RectHeight(part)) {
    for (std::int32_t layer = layers - 1; layer >= 0; --layer) {
      context.SetForeColor(LayerColour(look.colour, shape.decay - layer, shape.decay));
      DrawLayerOn(context, model, layer, shape.lines, shape.points);
    }
    return;
  }
  CatchUp(model, shape, layers);

  std::uint32_t palette[kMaxLayers] = {};
  for (std::int32_t age = 0; age < layers; ++age)
    palette[age] = ToPixel(LayerColour(look.colour, shape.decay - age, shape.decay));
  const Surface& newest = mNewest.GetSurface();
  const Surface& colours = mColours.GetSurface();
  const Surface& mask = mMask.GetSurface();
  for (std::int32_t y = part.top; y < part.bottom; ++y) {
    const std::uint32_t* serial = newest.pixels + y * newest.stride;
    std::uint32_t* colour = colours.pixels + y * colours.stride;
    std::uint32_t* keep = mask.pixels + y * mask.stride;
    for (std::int32_t x = part.left; x < part.right; ++x) {
      const std::uint32_t age = mSerial - serial[x];
      const bool layered = serial[x] != 0 && age < std::uint32_t(layers);
      colour[x] = layered ? palette[layered ? age : 0] : 0;
      keep[x] = layered ? 0 : ~0u;
    }
  }
  const Point corner{part.left, part.top};
  context.CopyMasked(mColours, part, mMask, corner, corner);
  // As after drawing the newest layer last.
  context.SetForeColor(LayerColour(look.colour, shape.decay, shape.decay));
  const std::int32_t last = shape.points - 1;
  context.MoveTo(Point{model.LayerXs(0)[last], model.LayerYs(0)[last]});
}
