#pragma once

#include <cstdint>
#include <vector>

#include "toolkit/frames/Frame.h"

class OGWorld;

// One level in dB as a bar of up to three colour zones, with a display that falls at a limited
// rate and a held, falling peak marker. The ballistics advance when the meter draws, in timer
// ticks (rates per 60 ticks); a new level asks for a redraw only when it moves the bar's pixels,
// and otherwise advances them itself. Settings that do not redraw show with the next level.
// Vertical meters grow upward, others left to right. Always buffered. Editor thread only.
class AudioMeter : public Frame {
 public:
  // initialDb: the lowest level shown and where the peak is reset to.
  AudioMeter(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
             std::uint32_t flags, std::int32_t id, float initialDb);

  void Draw(DrawContext& context, const Rect& area) override;

  // The level less the offset, within initial value..60 dB; NaN counts as the initial value.
  virtual void SetLevel(float db);
  // Pixels from the bar's start edge; a level below the floor lies beyond any bar.
  virtual std::int16_t LevelToPixel(float db);
  virtual float UpdateLevel(float level, std::int64_t tick);
  virtual void UpdatePeak(std::int64_t tick);
  virtual void DrawBackground(DrawContext& context, const Rect& rect);
  virtual void DrawBar(DrawContext& context, float level, std::int32_t levelPixel, std::int32_t peakPixel);
  virtual void DrawZone0(DrawContext& context, const Rect& rect);
  virtual void DrawZone1(DrawContext& context, const Rect& rect);
  virtual void DrawZone2(DrawContext& context, const Rect& rect);

  void SetFallRate(float dbPer60Ticks) { mFallRate = dbPer60Ticks; }
  // 0 or less: linear.
  void SetScaleCurve(float curve) {
    mScaleCurve = curve;
    Restyled();
  }
  void SetPeakFallRate(float dbPer60Ticks) { mPeakFallRate = dbPer60Ticks; }
  // Negative: held until reset.
  void SetPeakHoldTime(float seconds);
  void SetPeakMarkerThickness(std::int16_t pixels);
  void SetFloorLevel(float db);
  // Each is taken only when below 0 dB.
  void SetZoneThresholds(float zone2Db, float zone1Db);
  // unused: a colour the meter does not draw with.
  void SetColors(Color background, Color unused, Color zone0, Color zone1, Color zone2, bool redraw);
  void SetPixMap(const OGWorld* world, Point background, Point zone0, Point zone1, Point zone2);
  void SetBarRect(const Rect& rect) {
    mBarRect = rect;
    Restyled();
  }
  void SetTicks(const std::vector<float>& levels, Color color);
  void SetTicksOff() {
    mTicksOn = false;
    Restyled();
  }
  void SetPeakHold(bool on);
  void ResetPeak();
  void SetMirrored(bool on) {
    mMirrored = on;
    Restyled();
  }
  void SetPeakOnly(bool on) {
    mPeakOnly = on;
    Restyled();
  }
  void SetLevelOffset(float db) {
    mLevelOffset = db;
    Restyled();
  }

  float GetFallRate() const { return mFallRate; }
  float GetScaleCurve() const { return mScaleCurve; }
  float GetPeakFallRate() const { return mPeakFallRate; }
  float GetPeakHoldTime() const { return float(mHoldTicks) / 60.0f; }
  std::int32_t GetPeakHoldTicks() const { return mHoldTicks; }
  float GetFloorLevel() const { return mFloor; }
  float GetZone1Threshold() const { return mZone1; }
  float GetZone2Threshold() const { return mZone2; }
  float GetLevel() const { return mLevel; }
  float GetDisplayedLevel() const { return mDisplayed; }
  float GetPeak() const { return mPeak; }
  bool IsPeakHold() const { return mPeakHold; }
  std::int32_t GetBarLength() const;

 protected:
  float GetInitialValue() const { return mInitial; }
  bool IsVerticalMeter() const { return mVertical; }
  const Rect& GetBarRect() const { return mBarRect; }
  std::int16_t GetPeakMarkerThickness() const { return mPeakThickness; }
  std::int64_t GetLastTick() const { return mLastTick; }
  void SetDisplayedLevel(float db) { mDisplayed = db; }
  void SetPeakState(float peak, std::int64_t holdStart);
  std::int64_t GetHoldStart() const { return mHoldStart; }
  float GetPreviousPeak() const { return mPreviousPeak; }
  void SetPreviousPeak(float db) { mPreviousPeak = db; }
  // The rect from a to b pixels along the bar from its start edge.
  Rect BarSegment(std::int32_t from, std::int32_t to) const;
  void StoreLevel(float db) { mLevel = db; }
  float GetLevelOffset() const { return mLevelOffset; }
  // After a new level: a redraw when a draw now would move the bar's pixels, else the ballistics
  // advance to now here, as that draw would have advanced them.
  void FollowLevel();

 private:
  enum Zone { kZone0, kZone1, kZone2 };
  // What decides the bar's pixels besides the settings: where the display and the peak lie, and
  // how many of the floor and the two zone thresholds each reaches.
  struct BarPixels {
    bool known{false};
    std::int32_t level{0};
    std::int32_t peak{0};
    std::int32_t levelZones{0};
    std::int32_t peakZones{0};
    bool operator==(const BarPixels& o) const {
      return known == o.known && level == o.level && peak == o.peak && levelZones == o.levelZones &&
             peakZones == o.peakZones;
    }
  };
  struct Ballistics {
    float displayed{0.0f};
    std::int64_t lastTick{0};
    std::int64_t holdStart{0};
    float peak{0.0f};
    float previousPeak{0.0f};
  };

  void DrawZone(DrawContext& context, Rect rect, std::int32_t zone);
  // The ballistics to the tick; the level to show.
  float Advance(std::int64_t tick);
  BarPixels PixelsOf(float shown);
  std::int32_t ZonesReached(float db) const;
  Ballistics GetBallistics() const {
    return Ballistics{mDisplayed, mLastTick, mHoldStart, mPeak, mPreviousPeak};
  }
  void SetBallistics(const Ballistics& b);
  // A setting that changes the look without a redraw: the next level redraws.
  void Restyled() { mPainted = BarPixels{}; }

  float mLevel{0.0f};
  float mDisplayed{0.0f};
  std::int64_t mLastTick{0};
  float mFallRate{48.0f};
  bool mPeakHold{true};
  std::int32_t mHoldTicks{180};
  std::int64_t mHoldStart{0};
  float mPeak{0.0f};
  float mPreviousPeak{-100.0f};
  std::int16_t mPeakThickness{1};
  float mPeakFallRate{18.0f};
  float mScaleCurve{0.1f};
  float mFloor{-100.0f};
  float mZone1{-15.0f};
  float mZone2{-6.0f};
  std::vector<float> mTickLevels{};
  bool mTicksOn{false};
  Color mTickColor{};
  bool mVertical{false};
  Color mBackgroundColor{kBlack};
  Color mZoneColors[3]{{0, 0xFFFF, 0}, {0xFFFF, 0xFFFF, 0}, {0xFFFF, 0, 0}};
  const OGWorld* mWorld{nullptr};
  Point mBackgroundSource{};
  Point mZoneSources[3]{};
  Rect mBarRect{};
  bool mMirrored{false};
  bool mPeakOnly{false};
  float mLevelOffset{0.0f};
  float mInitial{0.0f};
  BarPixels mPainted{};  // as the last draw left the bar
};

// An audio meter for gain reduction: 0 dB shows nothing and the bar grows as the value falls;
// the display may rise back toward 0 at the fall rate, and the peak follows the lowest value.
class GainReductionMeter : public AudioMeter {
 public:
  GainReductionMeter(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                     std::uint32_t flags, std::int32_t id);

  // Within -200..0 dB; NaN counts as 0.
  void SetLevel(float db) override;
  float UpdateLevel(float level, std::int64_t tick) override;
  void UpdatePeak(std::int64_t tick) override;
  void DrawBar(DrawContext& context, float level, std::int32_t levelPixel, std::int32_t peakPixel) override;
};

// Seconds to whole ticks, within the int32 range; NaN gives 0.
std::int32_t SecondsToTicks(float seconds);
