#include "toolkit/controls/PixMapSlider.h"

#include <algorithm>
#include <cmath>

#include "framework/metering/Taper.h"
#include "toolkit/drawing/OGWorld.h"

PixMapSlider::PixMapSlider(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width,
                           std::int32_t height, std::int32_t backgroundX, std::int32_t backgroundY,
                           const OGWorld* world, std::int32_t thumbX, std::int32_t thumbY,
                           std::int32_t thumbWidth, std::int32_t thumbHeight,
                           const std::optional<Rect>& track, std::uint32_t flags, std::int32_t min,
                           std::int32_t max, std::int32_t defaultValue, std::int32_t controlId,
                           CentralController* controller)
    : GraphicControl(parent, x, y, width, height, flags, min, max, defaultValue, controlId, controller),
      mWorld(world),
      mBackground{backgroundX, backgroundY},
      mThumb{thumbX, thumbY},
      mThumbWidth(thumbWidth),
      mThumbHeight(thumbHeight),
      mTrack(track ? *track : Rect{0, 0, width, height}),
      mVertical(height > width) {}

void PixMapSlider::Draw(DrawContext& context, const Rect&) {
  DrawBackground(context);
  DrawThumb(context);
}

void PixMapSlider::DrawBackground(DrawContext& context) {
  if (!mWorld) return;
  context.ResetColors();
  context.CopyFromWorld(*mWorld, RectFromOriginSize(mBackground, GetWidth(), GetHeight()), Point{0, 0},
                        DrawContext::kResetColors);
}

void PixMapSlider::DrawThumb(DrawContext& context) {
  if (!mWorld || !mShowThumb) return;
  const Rect thumb = GetThumbRect();
  context.CopyFromWorld(*mWorld, RectFromOriginSize(mThumb, mThumbWidth, mThumbHeight),
                        Point{thumb.left, thumb.top}, DrawContext::kResetColors);
}

void PixMapSlider::Action(std::int32_t kind, std::int32_t x, std::int32_t y, bool) {
  switch (kind) {
    case kActionPress: {
      const Rect thumb = GetThumbRect();
      if (PointInsideRect(thumb, Point{x, y})) {
        // Held where it was taken: the value moves only with the pointer.
        mGrabOffset = mVertical ? y - (thumb.top + mThumbHeight / 2) : x - (thumb.left + mThumbWidth / 2);
        return;
      }
      mGrabOffset = 0;
      SetValue(PositionToValue(PointToPosition(x, y)));
      break;
    }
    case kActionDrag:
      SetValue(PositionToValue(PointToPosition(x, y)));
      break;
    case kActionRelease:
      mGrabOffset = 0;
      break;
    default:
      break;
  }
}

std::int32_t PixMapSlider::TravelLength() const {
  return mVertical ? mTrack.bottom - mThumbHeight - mTrack.top : mTrack.right - mThumbWidth - mTrack.left;
}

std::int32_t PixMapSlider::PositionToValue(std::int32_t position) {
  const std::int32_t travel = TravelLength();
  const std::int64_t range = std::int64_t(GetMax()) - GetMin();
  if (travel <= 0 || range <= 0) return GetMin();
  const std::int64_t p = std::int64_t(position) - mGrabOffset;
  // Along the travel from the minimum's end: 0 .. travel.
  const std::int64_t along = mVertical ? std::int64_t(mTrack.bottom) - mThumbHeight - p : p - mTrack.left;
  const float x = float(std::clamp<std::int64_t>(along, 0, travel)) / float(travel);
  const float t = Taper(false, x);
  if (!(t > 0.0f)) return GetMin();
  return std::int32_t(GetMin() + std::min<std::int64_t>(std::llround(double(t) * double(range)), range));
}

std::int32_t PixMapSlider::ValueToPosition(std::int32_t value) {
  const std::int32_t travel = std::max(TravelLength(), 0);
  const std::int64_t range = std::int64_t(GetMax()) - GetMin();
  std::int64_t along = 0;
  if (travel > 0 && range > 0) {
    const float fraction =
        float(std::clamp<std::int64_t>(std::int64_t(value) - GetMin(), 0, range)) / float(range);
    const float t = Taper(true, fraction);
    if (t > 0.0f) along = std::min<std::int64_t>(std::llround(double(t) * travel), travel);
  }
  return mVertical ? std::int32_t(mTrack.bottom - mThumbHeight - along)
                   : std::int32_t(mTrack.left + mThumbWidth + along);
}

float PixMapSlider::Taper(bool inverse, float x) {
  if (!(mTaperCurve > 0.0f)) return x;
  return inverse ? TaperValueToPosition(x, mTaperCurve) : TaperPositionToValue(x, mTaperCurve);
}

std::int32_t PixMapSlider::PointToPosition(std::int32_t x, std::int32_t y) {
  return mVertical ? y - mThumbHeight / 2 : x - mThumbWidth / 2;
}

Rect PixMapSlider::GetThumbRect() {
  const std::int32_t position = ValueToPosition(GetValue());
  if (mVertical) return Rect{mTrack.left, position, mTrack.right, position + mThumbHeight};
  return Rect{position - mThumbWidth, mTrack.top, position, mTrack.bottom};
}

void PixMapSlider::SetThumbSource(std::int32_t x, std::int32_t y) { mThumb = Point{x, y}; }

void PixMapSlider::SetShowThumb(bool on) {
  mShowThumb = on;
  Redraw(nullptr, true);
}

void PixMapSlider::SetTaperCurve(float curve) {
  mTaperCurve = curve;
  Redraw(nullptr, true);
}
