#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "toolkit/frames/Frame.h"

class OGWorld;

// Two levels in dB at a time: one channel as the main bar split into colour zones, the other as
// a thin marker, each with its own ballistics and held peak. The scale is logarithmic from the
// floor (zone 0's threshold) up to a knee level and linear above it. Levels are pushed by the
// owner's timer and ask for a redraw only when they move the meter's pixels; settings that do not
// redraw show with the next levels. Times are in timer ticks, rates per 60 ticks. Always buffered.
// Editor thread only.
class DualLevelAudioMeter : public Frame {
 public:
  static constexpr std::int32_t kChannels = 2;

  struct Zone {
    float threshold{0.0f};
    Color bar{};
    Color peak{};
    Color hold{};
    Point barSource{};
    Point peakSource{};
  };

  // At least one zone.
  DualLevelAudioMeter(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                      std::int32_t zoneCount, std::uint32_t flags, std::int32_t id);

  void Draw(DrawContext& context, const Rect& area) override;
  virtual void DrawBackground(DrawContext& context, const Rect& rect);

  // One update of both displays; NaN counts as below the floor.
  void SetLevels(float level0, float level1);
  // A pixel count from the meter's start edge; -1 below the floor.
  std::int32_t LevelToPixel(float db) const;

  // Channel and zone indices out of range are ignored.
  void SetMainChannel(std::int32_t channel);
  void SetShowMain(bool on) {
    mShowMain = on;
    Restyled();
  }
  void SetShowSecondary(bool on) {
    mShowSecondary = on;
    Restyled();
  }
  void SetShowPeaksAlways(bool on) {
    mShowPeaksAlways = on;
    Restyled();
  }
  void SetAttackTime(float seconds, std::int32_t channel);
  // Negative: a linear fall.
  void SetReleaseTime(float seconds, std::int32_t channel);
  // Within -1..1.
  void SetFallAcceleration(float acceleration);
  void SetPeakHold(bool on, std::int32_t channel);
  void ResetPeak(std::int32_t channel);
  // Negative: held until reset.
  void SetHoldTime(float seconds, std::int32_t channel);
  void SetPeakReleaseTime(float seconds, std::int32_t channel);
  void SetPeakMarkerThickness(std::int16_t pixels);
  void SetSecondaryThickness(std::int16_t pixels);
  // Zone 0's threshold is the floor: displays and peaks at the old floor move below the new one.
  // NaN is refused.
  void SetZoneThreshold(std::int32_t zone, float db, bool redraw);
  // Colours instead of images; no hold colour: the peak colour.
  void SetZoneColors(std::int32_t zone, Color bar, Color peak, const Color* hold);
  void SetZoneImages(std::int32_t zone, Point barSource, Point peakSource);
  void SetPixMap(const OGWorld* world) {
    mWorld = world;
    Restyled();
  }
  void SetBackground(Point source) {
    mBackgroundSource = source;
    Restyled();
  }
  void SetBackground(Color color) {
    mBackgroundColor = color;
    Restyled();
  }
  void SetMeterRect(const Rect& rect) {
    mMeterRect = rect;
    Restyled();
  }
  void SetBarInsets(const Rect& insets) {
    mBarInsets = insets;
    Restyled();
  }
  // NaN is refused.
  void SetScaleKneeLevel(float db);
  void SetScaleKneeLength(std::int32_t pixels) {
    mKneeLength = float(pixels);
    Restyled();
  }
  void SetLinearScale(bool on) {
    mLinearScale = on;
    Restyled();
  }
  void SetScaleMarks(const std::vector<float>& levels, Color color);
  void SetScaleMarksOff() {
    mMarksOn = false;
    Restyled();
  }
  void ResetLevels();

  std::int32_t GetZoneCount() const { return std::int32_t(mZones.size()); }
  const Zone& GetZone(std::int32_t zone) const { return mZones[zone]; }
  std::int32_t GetMainChannel() const { return mMainChannel; }
  float GetDisplayLevel(std::int32_t channel) const;
  float GetPeak(std::int32_t channel) const;
  float GetAttackTime(std::int32_t channel) const;
  float GetReleaseTime(std::int32_t channel) const;
  std::int32_t GetHoldTicks(std::int32_t channel) const;
  bool GetPeakHold(std::int32_t channel) const;
  float GetPeakReleaseTime(std::int32_t channel) const;
  bool GetShowMain() const { return mShowMain; }
  bool GetShowSecondary() const { return mShowSecondary; }
  bool GetShowPeaksAlways() const { return mShowPeaksAlways; }
  std::int16_t GetPeakMarkerThickness() const { return mPeakThickness; }
  std::int16_t GetSecondaryThickness() const { return mSecondaryThickness; }
  const OGWorld* GetPixMap() const { return mWorld; }
  Point GetBackgroundSource() const { return mBackgroundSource; }
  Color GetBackgroundColor() const { return mBackgroundColor; }
  Rect GetBarInsets() const { return mBarInsets; }
  const std::vector<float>& GetScaleMarks() const { return mMarks; }
  Color GetScaleMarkColor() const { return mMarkColor; }
  bool AreScaleMarksOn() const { return mMarksOn; }
  float GetFallAcceleration() const { return mFallAcceleration; }
  float GetScaleKneeLevel() const { return mKneeLevel; }
  float GetScaleKneeLength() const { return mKneeLength; }
  bool IsLinearScale() const { return mLinearScale; }
  Rect GetMeterRect() const { return mMeterRect; }
  // Along the meter: its height when vertical, else its width.
  std::int32_t GetMeterLength() const;

 private:
  struct Channel {
    float display{-1000.0f};
    float attack{0.0f};
    float release{0.0f};
    float fallRate{0.0f};
    bool peakHold{true};
    std::int32_t holdTicks{180};
    float peakRelease{2.0f};
    float peak{-1000.0f};
    std::int64_t holdStart{0};
    std::int64_t lastPeakTick{0};
  };

  // One marker: its zone (-1 when not drawn) and pixel.
  struct Marker {
    std::int32_t zone{-1};
    std::int32_t pixel{0};
    bool operator==(const Marker& o) const { return zone == o.zone && pixel == o.pixel; }
  };
  // What decides the meter's pixels besides the settings.
  struct Picture {
    bool known{false};
    std::int32_t barZones{0};  // zones the main bar runs through
    std::int32_t barPixel{0};
    Marker secondary{};
    Marker secondaryPeak{};
    Marker mainPeak{};
    bool operator==(const Picture& o) const {
      return known == o.known && barZones == o.barZones && barPixel == o.barPixel &&
             secondary == o.secondary && secondaryPeak == o.secondaryPeak && mainPeak == o.mainPeak;
    }
  };

  static bool IsChannel(std::int32_t channel) { return channel >= 0 && channel < kChannels; }
  bool IsZone(std::int32_t zone) const { return zone >= 0 && zone < GetZoneCount(); }
  float Floor() const { return mZones[0].threshold; }
  void UpdatePeak(Channel& channel, std::int64_t now);
  void UpdatePeaks(std::int64_t now);
  Picture PictureOfNow() const;
  // The index of the zone whose threshold is the highest one below the level.
  std::int32_t ZoneOf(float db) const;
  // A setting that changes the look without a redraw: the next levels redraw.
  void Restyled() { mPainted = Picture{}; }
  // The strip of thickness pixels whose outer edge lies at the pixel.
  Rect MarkerAt(std::int32_t pixel, std::int32_t thickness) const;
  void Paint(DrawContext& context, const Rect& rect, Color color, Point imageSource) const;

  std::vector<Zone> mZones{};
  std::array<Channel, kChannels> mChannels{};
  std::int64_t mLastUpdateTick{0};
  float mFallAcceleration{0.2f};
  std::int16_t mPeakThickness{2};
  std::int16_t mSecondaryThickness{2};
  std::int32_t mMainChannel{0};
  bool mShowMain{true};
  bool mShowSecondary{true};
  bool mShowPeaksAlways{false};
  bool mVertical{false};
  Rect mMeterRect{};
  Rect mBarInsets{};
  float mKneeLevel{-44.0f};
  float mKneeLength{0.0f};
  bool mLinearScale{false};
  const OGWorld* mWorld{nullptr};
  Point mBackgroundSource{};
  Color mBackgroundColor{kBlack};
  std::vector<float> mMarks{};
  Color mMarkColor{};
  bool mMarksOn{false};
  Picture mPainted{};  // as the last draw left the meter
};
