#pragma once

#include <optional>

#include "toolkit/controls/GraphicControl.h"

class OGWorld;

// A slider drawn from a background image and a thumb image of an offscreen world. The thumb
// moves within the track rectangle: upward from the bottom when the frame is taller than wide,
// else left to right. Value and thumb position round to the nearest step, so with at least as
// many pixels as steps every value has its own position and maps back to itself. Editor thread
// only.
class PixMapSlider : public GraphicControl {
 public:
  // track: where the thumb moves, local; the frame's rectangle without one.
  PixMapSlider(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
               std::int32_t backgroundX, std::int32_t backgroundY, const OGWorld* world, std::int32_t thumbX,
               std::int32_t thumbY, std::int32_t thumbWidth, std::int32_t thumbHeight,
               const std::optional<Rect>& track, std::uint32_t flags, std::int32_t min, std::int32_t max,
               std::int32_t defaultValue, std::int32_t controlId, CentralController* controller = nullptr);

  void Draw(DrawContext& context, const Rect& area) override;
  void Action(std::int32_t kind, std::int32_t x, std::int32_t y, bool inside) override;

  virtual void DrawBackground(DrawContext& context);
  virtual void DrawThumb(DrawContext& context);
  // The thumb's top edge (vertical) or left edge to a value, the grab offset taken off first.
  virtual std::int32_t PositionToValue(std::int32_t position);
  // The thumb's top edge (vertical) or right edge for a value.
  virtual std::int32_t ValueToPosition(std::int32_t value);
  // A curve at or below 0 is linear.
  virtual float Taper(bool inverse, float x);
  // The thumb's top (vertical) or left edge when its centre is at the point.
  virtual std::int32_t PointToPosition(std::int32_t x, std::int32_t y);

  void SetThumbSource(std::int32_t x, std::int32_t y);
  void SetShowThumb(bool on);
  void SetTaperCurve(float curve);

  Rect GetThumbRect();
  bool IsVertical() const { return mVertical; }
  std::int32_t GetGrabOffset() const { return mGrabOffset; }

 private:
  // Pixels the thumb can travel; 0 or less for a track no longer than the thumb.
  std::int32_t TravelLength() const;

  std::int32_t mGrabOffset{0};
  const OGWorld* mWorld{nullptr};
  Point mBackground{};
  Point mThumb{};
  std::int32_t mThumbWidth{0};
  std::int32_t mThumbHeight{0};
  Rect mTrack{};
  bool mShowThumb{true};
  bool mVertical{false};
  float mTaperCurve{-1.0f};
};
