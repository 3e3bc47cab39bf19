#include "toolkit/meters/AudioMeter.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "framework/metering/Taper.h"
#include "platform/Clock.h"
#include "toolkit/meters/MeterPaint.h"

namespace {

constexpr float kTopLevel = 60.0f;
constexpr float kBottomReduction = -200.0f;
constexpr std::int32_t kBeyondBar = 1000;

}  // namespace

std::int32_t SecondsToTicks(float seconds) {
  const double ticks = double(seconds) * 60.0;
  if (std::isnan(ticks)) return 0;
  return std::int32_t(std::clamp(std::trunc(ticks), double(INT32_MIN), double(INT32_MAX)));
}

AudioMeter::AudioMeter(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                       std::uint32_t flags, std::int32_t id, float initialDb)
    : Frame(parent, x, y, width, height, flags | kBuffered, id),
      mLevel(initialDb),
      mDisplayed(initialDb),
      mPeak(initialDb),
      mVertical(height >= width),
      mBarRect{0, 0, width, height},
      mInitial(initialDb) {}

void AudioMeter::SetLevel(float db) {
  float level = db - mLevelOffset;
  if (!(level >= mInitial)) level = mInitial;  // NaN too
  if (level > kTopLevel) level = kTopLevel;
  mLevel = level;
  FollowLevel();
}

float AudioMeter::Advance(std::int64_t tick) {
  const float shown = UpdateLevel(mLevel, tick);
  if (mPeakHold || mPeakOnly) UpdatePeak(tick);
  mLastTick = tick;
  return shown;
}

std::int32_t AudioMeter::ZonesReached(float db) const {
  return std::int32_t(db >= mFloor) + std::int32_t(db >= mZone1) + std::int32_t(db >= mZone2);
}

AudioMeter::BarPixels AudioMeter::PixelsOf(float shown) {
  return BarPixels{true, LevelToPixel(shown), LevelToPixel(mPeak), ZonesReached(shown), ZonesReached(mPeak)};
}

void AudioMeter::SetBallistics(const Ballistics& b) {
  mDisplayed = b.displayed;
  mLastTick = b.lastTick;
  mHoldStart = b.holdStart;
  mPeak = b.peak;
  mPreviousPeak = b.previousPeak;
}

void AudioMeter::FollowLevel() {
  const Ballistics before = GetBallistics();
  if (PixelsOf(Advance(Clock::GetTimerTick())) == mPainted) return;
  // The draw advances them, whenever it comes.
  SetBallistics(before);
  Redraw(nullptr, true);
}

std::int32_t AudioMeter::GetBarLength() const {
  return mVertical ? RectHeight(mBarRect) : RectWidth(mBarRect);
}

std::int16_t AudioMeter::LevelToPixel(float db) {
  const std::int32_t length = GetBarLength();
  if (!(db >= mFloor)) return std::int16_t(length + kBeyondBar);
  // A floor at or above 0 dB leaves no scale: whatever reaches it fills the bar.
  if (!(mFloor < 0.0f)) return std::int16_t(length);
  // A bar without length has no pixel to give; the taper below would divide by it.
  if (length == 0) return 0;
  // Linear: multiplied before the division, so whole dB land on whole pixels.
  double pixel = (double(db) - mFloor) * length / -double(mFloor);
  if (mScaleCurve > 0.0f) pixel = double(TaperPositionToValue(float(pixel / length), mScaleCurve)) * length;
  pixel = std::trunc(pixel);
  return std::int16_t(std::clamp(pixel, -32768.0, 32767.0));
}

float AudioMeter::UpdateLevel(float level, std::int64_t tick) {
  if (level < mDisplayed) {
    const float limit = float(tick - mLastTick) / 60.0f * mFallRate;
    level = std::max(level, mDisplayed - limit);
  }
  mDisplayed = std::max(level, mInitial);
  return level;
}

void AudioMeter::UpdatePeak(std::int64_t tick) {
  if (mLevel > mPeak) {
    mPeak = mLevel;
    mHoldStart = tick;
  } else if (mHoldTicks >= 0 && tick >= mHoldStart + mHoldTicks) {
    mPeak = std::max(mLevel, mPreviousPeak - float(tick - mLastTick) / 60.0f * mPeakFallRate);
  }
  mPreviousPeak = mPeak;
}

void AudioMeter::Draw(DrawContext& context, const Rect&) {
  DrawBackground(context, GetLocalRect());
  const float shown = Advance(Clock::GetTimerTick());
  mPainted = PixelsOf(shown);
  DrawBar(context, shown, mPainted.level, mPainted.peak);
  if (!mTicksOn) return;
  context.SetForeColor(mTickColor);
  for (float level : mTickLevels) {
    const std::int32_t p = LevelToPixel(level - mLevelOffset);
    if (mVertical) {
      context.MoveTo(Point{mBarRect.left, mBarRect.bottom - p});
      context.LineTo(Point{mBarRect.right - 1, mBarRect.bottom - p});
    } else {
      context.MoveTo(Point{mBarRect.left + p, mBarRect.top});
      context.LineTo(Point{mBarRect.left + p, mBarRect.bottom - 1});
    }
  }
}

void AudioMeter::DrawBackground(DrawContext& context, const Rect& rect) {
  PaintArea(context, rect, mWorld, mBackgroundSource, mBackgroundColor);
}

Rect AudioMeter::BarSegment(std::int32_t from, std::int32_t to) const {
  if (mVertical) return Rect{mBarRect.left, mBarRect.bottom - to, mBarRect.right, mBarRect.bottom - from};
  return Rect{mBarRect.left + from, mBarRect.top, mBarRect.left + to, mBarRect.bottom};
}

void AudioMeter::DrawBar(DrawContext& context, float level, std::int32_t levelPixel, std::int32_t peakPixel) {
  if (level >= mFloor && !mPeakOnly) {
    const std::int16_t zone0 = std::int16_t(std::min<std::int32_t>(LevelToPixel(mZone1) - 1, levelPixel));
    DrawZone0(context, BarSegment(0, zone0));
    if (level >= mZone1) {
      const std::int16_t zone1 = std::int16_t(std::min<std::int32_t>(LevelToPixel(mZone2) - 1, levelPixel));
      DrawZone1(context, BarSegment(zone0, zone1));
      if (level >= mZone2)
        DrawZone2(context, BarSegment(zone1, std::min<std::int32_t>(LevelToPixel(0.0f), levelPixel)));
    }
  }
  if (!(mPeakHold || mPeakOnly) || !(mPeak >= mFloor)) return;
  Rect marker{};
  if (mVertical) {
    const std::int32_t top = std::max(mBarRect.bottom - peakPixel, 0);
    marker = Rect{mBarRect.left, top, mBarRect.right, top + mPeakThickness};
  } else {
    const std::int32_t right = std::min(mBarRect.left + peakPixel, GetWidth() - 1);
    marker = Rect{right - mPeakThickness, mBarRect.top, right, mBarRect.bottom};
  }
  if (mPeak < mZone1)
    DrawZone0(context, marker);
  else if (mPeak >= mZone2)
    DrawZone2(context, marker);
  else
    DrawZone1(context, marker);
}

void AudioMeter::DrawZone0(DrawContext& context, const Rect& rect) { DrawZone(context, rect, kZone0); }
void AudioMeter::DrawZone1(DrawContext& context, const Rect& rect) { DrawZone(context, rect, kZone1); }
void AudioMeter::DrawZone2(DrawContext& context, const Rect& rect) { DrawZone(context, rect, kZone2); }

void AudioMeter::DrawZone(DrawContext& context, Rect rect, std::int32_t zone) {
  if (mMirrored && mVertical) {
    const std::int32_t height = RectHeight(rect);
    rect.bottom = mBarRect.top + mBarRect.bottom - rect.top;
    rect.top = rect.bottom - height;
  }
  const Point source{rect.left + mZoneSources[zone].x, rect.top + mZoneSources[zone].y};
  PaintArea(context, rect, mWorld, source, mZoneColors[zone]);
}

void AudioMeter::SetPeakHoldTime(float seconds) { mHoldTicks = SecondsToTicks(seconds); }

void AudioMeter::SetPeakMarkerThickness(std::int16_t pixels) {
  mPeakThickness = pixels;
  Redraw(nullptr, true);
}

void AudioMeter::SetFloorLevel(float db) {
  mFloor = db;
  Redraw(nullptr, true);
}

void AudioMeter::SetZoneThresholds(float zone2Db, float zone1Db) {
  if (zone2Db < 0.0f) mZone2 = zone2Db;
  if (zone1Db < 0.0f) mZone1 = zone1Db;
  Redraw(nullptr, true);
}

void AudioMeter::SetColors(Color background, Color, Color zone0, Color zone1, Color zone2, bool redraw) {
  mBackgroundColor = background;
  mZoneColors[kZone0] = zone0;
  mZoneColors[kZone1] = zone1;
  mZoneColors[kZone2] = zone2;
  Restyled();
  if (redraw) Redraw(nullptr, true);
}

void AudioMeter::SetPixMap(const OGWorld* world, Point background, Point zone0, Point zone1, Point zone2) {
  mWorld = world;
  mBackgroundSource = background;
  mZoneSources[kZone0] = zone0;
  mZoneSources[kZone1] = zone1;
  mZoneSources[kZone2] = zone2;
  Restyled();
}

void AudioMeter::SetTicks(const std::vector<float>& levels, Color color) {
  mTicksOn = true;
  mTickColor = color;
  if (!levels.empty()) mTickLevels = levels;
  Restyled();
}

void AudioMeter::SetPeakState(float peak, std::int64_t holdStart) {
  mPeak = mPreviousPeak = peak;
  mHoldStart = holdStart;
}

void AudioMeter::SetPeakHold(bool on) {
  mPeakHold = on;
  ResetPeak();
}

void AudioMeter::ResetPeak() {
  SetPeakState(mInitial, Clock::GetTimerTick());
  Redraw(nullptr, true);
}

GainReductionMeter::GainReductionMeter(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width,
                                       std::int32_t height, std::uint32_t flags, std::int32_t id)
    : AudioMeter(parent, x, y, width, height, flags, id, 0.0f) {}

void GainReductionMeter::SetLevel(float db) {
  float level = db - GetLevelOffset();
  level = std::isnan(level) ? GetInitialValue() : std::clamp(level, kBottomReduction, GetInitialValue());
  StoreLevel(level);
  FollowLevel();
}

float GainReductionMeter::UpdateLevel(float level, std::int64_t tick) {
  const float displayed = GetDisplayedLevel();
  if (level > displayed) {
    const float limit = float(tick - GetLastTick()) / 60.0f * GetFallRate();
    level = std::min(level, displayed + limit);
  }
  SetDisplayedLevel(std::min(level, GetInitialValue()));
  return level;
}

void GainReductionMeter::UpdatePeak(std::int64_t tick) {
  const float level = GetLevel();
  if (level < GetPeak()) {
    SetPeakState(level, tick);
  } else if (GetPeakHoldTicks() >= 0 && tick >= GetHoldStart() + GetPeakHoldTicks()) {
    const float risen =
        std::min(level, GetPreviousPeak() + float(tick - GetLastTick()) / 60.0f * GetPeakFallRate());
    SetPeakState(risen, GetHoldStart());
  }
  SetPreviousPeak(GetPeak());
}

void GainReductionMeter::DrawBar(DrawContext& context, float, std::int32_t levelPixel,
                                 std::int32_t peakPixel) {
  const std::int32_t length = GetBarLength();
  // A value below the floor lies beyond the scale: the whole bar, vertical or not.
  if (levelPixel > length) levelPixel = 0;
  if (peakPixel > length) peakPixel = 0;
  DrawZone0(context, BarSegment(levelPixel, length));
  if (!IsPeakHold()) return;
  const std::int16_t thickness = GetPeakMarkerThickness();
  DrawZone0(context, BarSegment(peakPixel, peakPixel + thickness));
}
