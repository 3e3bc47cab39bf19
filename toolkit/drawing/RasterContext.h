#pragma once

#include <vector>

#include "toolkit/drawing/DrawContext.h"
#include "toolkit/drawing/GlyphAtlas.h"
#include "toolkit/drawing/RasterOps.h"
#include "toolkit/drawing/Surface.h"

// The drawing context on a pixel surface. Every operation obeys the origin and the clip; nothing
// reads or writes outside the surface. Editor thread only.
class RasterContext : public DrawContext {
 public:
  explicit RasterContext(Surface surface = Surface{});

  Rect GetBounds() const override;
  void BeginDraw() override;
  void EndDraw() override;
  void SetOrigin(Point origin) override;
  Point GetMousePosition() const override;
  void SetCursor(std::int16_t cursorId) override;
  void RestoreCursor() override;
  void SetForeColor(Color color) override;
  void SetBackColor(Color color) override;
  void MoveTo(Point point) override;
  void LineTo(Point point) override;
  void PolyLineTo(const std::vector<std::int32_t>& xs, const std::vector<std::int32_t>& ys,
                  std::int32_t count) override;
  void FillRect(const Rect& rect) override;
  void FillEllipse(const Rect& rect) override;
  void FrameEllipse(const Rect& rect) override;
  void FrameRect(const Rect& rect) override;
  void SetFont(std::int32_t fontIndex, Color color) override;
  void DrawString(const char* text) override;
  void DrawTextInRect(const char* text, const Rect& rect) override;
  std::int32_t GetStringWidth(const char* text) override;
  void DrawBitmapResource(std::int32_t bitmapId, const Rect& rect) override;
  void ResetColors() override;
  void CopyFromWorld(const OGWorld& world, const Rect& source, Point destination, bool resetColors) override;
  void CopyMasked(const OGWorld& world, const Rect& source, const OGWorld& mask, Point maskPoint,
                  Point destination) override;
  // Black outside the surface.
  Color GetPixelColor(Point point) override;
  Rect GetTextBox(const Rect& rect, const char* text) override;
  bool IsControlKeyDown() const override;
  bool IsShiftKeyDown() const override;
  bool IsControlShiftDown() const override;
  bool IsExtraModifierDown() const override;
  void SetMouseCapturer(MouseCapturer* capturer) override;
  void ClearMouseCapturer() override;
  void ValidateRect(const Rect& rect) override;
  void InvalidateRect(const Rect& rect) override;
  void SetClipRect(const Rect& rect) override;
  Rect ToDevice(const Rect& rect) const override;
  std::unique_ptr<Region> NewRegion() const override;
  void SetClipRegion(const Region& region) override;

  const Surface& GetSurface() const { return mSurface; }
  Point GetOrigin() const { return mOrigin; }
  Color GetForeColor() const { return FromPixel(mForePixel); }

 protected:
  // The clip becomes the whole new surface.
  void SetSurface(Surface surface);

 private:
  Rect SurfaceBounds() const;
  raster::Point64 Device(Point p) const;
  // Kept out of LineTo so that the common path saves no registers.
  __attribute__((noinline)) void LineInClipRegion(raster::Point64 from, raster::Point64 to);
  void DrawGlyphs(const char* text, const char* end, std::int64_t x, std::int64_t baseline);
  void DrawWrappedText(const char* text, std::int64_t left, std::int64_t baseline, std::int32_t width);
  void Copy(const PixelView& source, const Rect& sourceRect, Point destination, raster::CopyMode mode);

  Surface mSurface{};
  Point mOrigin{};
  raster::Point64 mPen{};  // device
  std::uint32_t mForePixel{0};
  Color mBackColor{kWhite};
  const GlyphFont* mFont{nullptr};
  std::int32_t mBeginCount{0};
  std::vector<Rect> mClip{};  // device, disjoint, inside the surface
};
