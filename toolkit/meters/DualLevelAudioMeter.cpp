#include "toolkit/meters/DualLevelAudioMeter.h"

#include <algorithm>
#include <cmath>

#include "framework/metering/Decibels.h"
#include "framework/metering/Taper.h"
#include "platform/Clock.h"
#include "toolkit/meters/AudioMeter.h"
#include "toolkit/meters/MeterPaint.h"

namespace {

constexpr float kBottom = -1000.0f;
constexpr float kTopLevel = 60.0f;
constexpr float kBelowFloor = 2.0f;
constexpr float kSlowestLinearFall = -3.0f;  // dB per 60 ticks
constexpr float kFallTarget = -2.0f;

}  // namespace

DualLevelAudioMeter::DualLevelAudioMeter(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width,
                                         std::int32_t height, std::int32_t zoneCount, std::uint32_t flags,
                                         std::int32_t id)
    : Frame(parent, x, y, width, height, flags | kBuffered, id),
      mZones(std::size_t(std::max(zoneCount, 1))),
      mVertical(height >= width),
      mMeterRect{0, 0, width, height} {
  mChannels[0].release = 5.0f;
  mChannels[1].attack = 0.6f;
  mChannels[1].release = 0.6f;
  mKneeLength = float((mVertical ? height : width) / 2);
}

std::int32_t DualLevelAudioMeter::GetMeterLength() const {
  return mVertical ? RectHeight(mMeterRect) : RectWidth(mMeterRect);
}

void DualLevelAudioMeter::SetLevels(float level0, float level1) {
  const std::int64_t now = Clock::GetTimerTick();
  const std::int64_t elapsed = now - mLastUpdateTick;
  // Updates per 60 ticks; two updates in one tick count as the usual rate.
  const double rate = elapsed > 0 ? 60.0 / double(elapsed) : 60.0;
  const float floor = Floor();
  const float levels[kChannels] = {level0, level1};
  for (std::int32_t c = 0; c < kChannels; ++c) {
    float level = levels[c];
    if (!(level >= floor - kBelowFloor)) level = floor - kBelowFloor;  // NaN too
    if (level > kTopLevel) level = kTopLevel;
    Channel& ch = mChannels[c];
    float& d = ch.display;
    const double ka = SmoothingCoefficient(ch.attack, rate), kr = SmoothingCoefficient(ch.release, rate);
    if (level >= d) {
      d = ka == 1.0 ? level : float(d + (level - d) * ka);
      ch.fallRate = ch.release;
    } else if (ch.release >= 0.0f) {
      d = float(d + (level - d) * kr);
    } else {
      const float a = mFallAcceleration * 0.05f;
      if (a > 0.0f && ch.fallRate < kFallTarget)
        ch.fallRate += (kFallTarget - ch.fallRate) * a;
      else if (a < 0.0f)
        ch.fallRate -= (2.0f * ch.release - ch.fallRate) * a;
      const float used = std::min(ch.fallRate, kSlowestLinearFall);
      d += float(elapsed) * used / 60.0f;
      if (d < level) d = level;
    }
    if (!(d >= kBottom)) d = kBottom;
  }
  mLastUpdateTick = now;
  // A disabled meter shows no levels, and SetEnabled redraws it.
  if (!IsEnabled()) return;
  // The peaks as a draw now would leave them; kept when that draw would paint what is there.
  const std::array<Channel, kChannels> before = mChannels;
  UpdatePeaks(now);
  if (PictureOfNow() == mPainted) return;
  mChannels = before;  // the draw advances them, whenever it comes
  Redraw(nullptr, true);
}

std::int32_t DualLevelAudioMeter::LevelToPixel(float db) const {
  const std::int32_t length = GetMeterLength();
  const float floor = Floor();
  if (std::isnan(db)) return -1;
  double pixel = 0.0;
  if (mLinearScale) {
    if (db < floor) return -1;
    if (db > 0.0f || !(floor < 0.0f)) return length;
    pixel = (db - floor) / -floor * length;
  } else {
    const double linearStart = length - mKneeLength;
    if (db >= mKneeLevel) {
      pixel = mKneeLevel < 0.0f ? linearStart + (mKneeLevel - db) / mKneeLevel * mKneeLength : linearStart;
    } else if (db < floor) {
      return -1;
    } else {
      const double t = 1.0 - (double(mKneeLevel) - db) / (double(mKneeLevel) - floor);
      pixel = linearStart * TaperPositionToValue(float(t), 1.0f);
    }
  }
  // Infinite knee or floor levels leave no scale: nothing is drawn for the level.
  if (std::isnan(pixel)) return -1;
  return std::int32_t(std::clamp(std::trunc(pixel), -1.0, double(length) * 2.0));
}

void DualLevelAudioMeter::UpdatePeak(Channel& ch, std::int64_t now) {
  const float p = ch.display;
  if (p >= ch.peak) {
    ch.peak = p;
    ch.holdStart = now;
  } else if (ch.holdTicks >= 0 && now >= ch.holdStart + ch.holdTicks && now > ch.lastPeakTick) {
    const double k = SmoothingCoefficient(ch.peakRelease, 60.0 / double(now - ch.lastPeakTick));
    ch.peak = std::max(float(ch.peak + (p - ch.peak) * k), kBottom);
  }
  ch.lastPeakTick = now;
}

void DualLevelAudioMeter::UpdatePeaks(std::int64_t now) {
  UpdatePeak(mChannels[1 - mMainChannel], now);
  UpdatePeak(mChannels[mMainChannel], now);
}

std::int32_t DualLevelAudioMeter::ZoneOf(float db) const {
  std::size_t found = 0;
  for (std::size_t i = 0; i < mZones.size(); ++i)
    if (mZones[i].threshold < db && mZones[i].threshold >= mZones[found].threshold) found = i;
  return std::int32_t(found);
}

DualLevelAudioMeter::Picture DualLevelAudioMeter::PictureOfNow() const {
  const Channel& main = mChannels[mMainChannel];
  const Channel& secondary = mChannels[1 - mMainChannel];
  const float floor = Floor();
  auto marker = [this](float db) { return Marker{ZoneOf(db), LevelToPixel(db)}; };
  Picture p;
  p.known = true;
  if (mShowMain) {
    p.barPixel = LevelToPixel(main.display);
    while (p.barZones < GetZoneCount() && main.display > mZones[p.barZones].threshold) ++p.barZones;
  }
  if (mShowSecondary && secondary.display > floor) p.secondary = marker(secondary.display);
  if (secondary.peakHold && (mShowSecondary || mShowPeaksAlways) && secondary.peak > floor)
    p.secondaryPeak = marker(secondary.peak);
  if (main.peakHold && (mShowMain || mShowPeaksAlways) && main.peak > floor) p.mainPeak = marker(main.peak);
  return p;
}

Rect DualLevelAudioMeter::MarkerAt(std::int32_t pixel, std::int32_t thickness) const {
  if (mVertical) {
    const std::int32_t top = std::max(mMeterRect.bottom - pixel, 0);
    return Rect{mMeterRect.left, top, mMeterRect.right, top + thickness};
  }
  const std::int32_t right = std::min(mMeterRect.left + pixel, mMeterRect.right);
  return Rect{right - thickness, mMeterRect.top, right, mMeterRect.bottom};
}

void DualLevelAudioMeter::Paint(DrawContext& context, const Rect& rect, Color color,
                                Point imageSource) const {
  const Point source{imageSource.x + rect.left - mMeterRect.left, imageSource.y + rect.top - mMeterRect.top};
  PaintArea(context, rect, mWorld, source, color);
}

void DualLevelAudioMeter::DrawBackground(DrawContext& context, const Rect& rect) {
  PaintArea(context, rect, mWorld, mBackgroundSource, mBackgroundColor);
}

void DualLevelAudioMeter::Draw(DrawContext& context, const Rect&) {
  DrawBackground(context, mMeterRect);
  if (!IsEnabled()) return;
  UpdatePeaks(Clock::GetTimerTick());
  mPainted = PictureOfNow();
  const Picture& p = mPainted;
  const std::int32_t length = GetMeterLength();
  const Rect bar{mMeterRect.left + mBarInsets.left, mMeterRect.top + mBarInsets.top,
                 mMeterRect.right - mBarInsets.right, mMeterRect.bottom - mBarInsets.bottom};
  auto segment = [&](std::int32_t from, std::int32_t to) {
    return mVertical ? Rect{bar.left, bar.bottom - to, bar.right, bar.bottom - from}
                     : Rect{bar.left + from, bar.top, bar.left + to, bar.bottom};
  };
  std::int32_t start = 0;
  for (std::int32_t i = 0; i < p.barZones; ++i) {
    const std::int32_t zoneEnd = i + 1 < GetZoneCount() ? LevelToPixel(mZones[i + 1].threshold) : length;
    const std::int32_t end = std::min(zoneEnd, p.barPixel);
    Paint(context, segment(start, end), mZones[i].bar, mZones[i].barSource);
    start = std::max(start, end);
  }
  if (p.secondary.zone >= 0) {
    const Zone& zone = mZones[p.secondary.zone];
    Paint(context, MarkerAt(p.secondary.pixel, mSecondaryThickness), zone.peak, zone.peakSource);
  }
  if (p.secondaryPeak.zone >= 0) {
    const Zone& zone = mZones[p.secondaryPeak.zone];
    Paint(context, MarkerAt(p.secondaryPeak.pixel, mPeakThickness), zone.hold, zone.peakSource);
  }
  if (p.mainPeak.zone >= 0) {
    const Zone& zone = mZones[p.mainPeak.zone];
    Paint(context, MarkerAt(p.mainPeak.pixel, mPeakThickness), zone.bar, zone.barSource);
  }
  if (!mMarksOn) return;
  context.SetForeColor(mMarkColor);
  for (float mark : mMarks) {
    const std::int32_t p = LevelToPixel(mark);
    if (mVertical) {
      const std::int32_t y = mMeterRect.bottom - p;
      context.MoveTo(Point{mMeterRect.left, y});
      context.LineTo(Point{mMeterRect.left + GetWidth() / 2 - 1, y});
    } else {
      const std::int32_t x = mMeterRect.left + p;
      context.MoveTo(Point{x, mMeterRect.top});
      context.LineTo(Point{x, mMeterRect.top + GetHeight() / 2 - 1});
    }
  }
}

void DualLevelAudioMeter::SetMainChannel(std::int32_t channel) {
  if (!IsChannel(channel)) return;
  mMainChannel = channel;
  Restyled();
}

void DualLevelAudioMeter::SetAttackTime(float seconds, std::int32_t channel) {
  if (IsChannel(channel)) mChannels[channel].attack = seconds;
}

void DualLevelAudioMeter::SetReleaseTime(float seconds, std::int32_t channel) {
  if (IsChannel(channel)) mChannels[channel].release = seconds;
}

void DualLevelAudioMeter::SetFallAcceleration(float acceleration) {
  mFallAcceleration = std::isnan(acceleration) ? 0.0f : std::clamp(acceleration, -1.0f, 1.0f);
}

void DualLevelAudioMeter::SetPeakHold(bool on, std::int32_t channel) {
  if (!IsChannel(channel)) return;
  mChannels[channel].peakHold = on;
  ResetPeak(channel);
}

void DualLevelAudioMeter::ResetPeak(std::int32_t channel) {
  if (!IsChannel(channel)) return;
  mChannels[channel].peak = kBottom;
  mChannels[channel].holdStart = Clock::GetTimerTick();
  Redraw(nullptr, true);
}

void DualLevelAudioMeter::SetHoldTime(float seconds, std::int32_t channel) {
  if (IsChannel(channel)) mChannels[channel].holdTicks = SecondsToTicks(seconds);
}

void DualLevelAudioMeter::SetPeakReleaseTime(float seconds, std::int32_t channel) {
  if (IsChannel(channel)) mChannels[channel].peakRelease = seconds;
}

void DualLevelAudioMeter::SetPeakMarkerThickness(std::int16_t pixels) {
  mPeakThickness = pixels;
  Redraw(nullptr, true);
}

void DualLevelAudioMeter::SetSecondaryThickness(std::int16_t pixels) {
  mSecondaryThickness = pixels;
  Redraw(nullptr, true);
}

void DualLevelAudioMeter::SetZoneThreshold(std::int32_t zone, float db, bool redraw) {
  if (!IsZone(zone) || std::isnan(db)) return;
  if (zone == 0) {
    const float oldFloor = Floor();
    for (Channel& ch : mChannels) {
      if (ch.display <= oldFloor) ch.display = db - kBelowFloor;
      if (ch.peak <= oldFloor) ch.peak = db - kBelowFloor;
    }
  }
  mZones[zone].threshold = db;
  Restyled();
  if (redraw) Redraw(nullptr, true);
}

void DualLevelAudioMeter::SetZoneColors(std::int32_t zone, Color bar, Color peak, const Color* hold) {
  if (!IsZone(zone)) return;
  mZones[zone].bar = bar;
  mZones[zone].peak = peak;
  mZones[zone].hold = hold ? *hold : peak;
  mWorld = nullptr;
  Restyled();
}

void DualLevelAudioMeter::SetZoneImages(std::int32_t zone, Point barSource, Point peakSource) {
  if (!IsZone(zone)) return;
  mZones[zone].barSource = barSource;
  mZones[zone].peakSource = peakSource;
  Restyled();
}

void DualLevelAudioMeter::SetScaleKneeLevel(float db) {
  if (std::isnan(db)) return;
  mKneeLevel = db;
  Restyled();
}

void DualLevelAudioMeter::SetScaleMarks(const std::vector<float>& levels, Color color) {
  mMarksOn = true;
  mMarkColor = color;
  if (!levels.empty()) mMarks = levels;
  Restyled();
}

void DualLevelAudioMeter::ResetLevels() {
  for (Channel& ch : mChannels) ch.display = kBottom;
}

float DualLevelAudioMeter::GetDisplayLevel(std::int32_t channel) const {
  return IsChannel(channel) ? mChannels[channel].display : kBottom;
}
float DualLevelAudioMeter::GetPeak(std::int32_t channel) const {
  return IsChannel(channel) ? mChannels[channel].peak : kBottom;
}
float DualLevelAudioMeter::GetAttackTime(std::int32_t channel) const {
  return IsChannel(channel) ? mChannels[channel].attack : 0.0f;
}
float DualLevelAudioMeter::GetReleaseTime(std::int32_t channel) const {
  return IsChannel(channel) ? mChannels[channel].release : 0.0f;
}
std::int32_t DualLevelAudioMeter::GetHoldTicks(std::int32_t channel) const {
  return IsChannel(channel) ? mChannels[channel].holdTicks : 0;
}
bool DualLevelAudioMeter::GetPeakHold(std::int32_t channel) const {
  return IsChannel(channel) && mChannels[channel].peakHold;
}
float DualLevelAudioMeter::GetPeakReleaseTime(std::int32_t channel) const {
  return IsChannel(channel) ? mChannels[channel].peakRelease : 0.0f;
}
