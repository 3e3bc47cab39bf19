#include "toolkit/drawing/RasterContext.h"

#include <algorithm>

#include "framework/services/Exceptions.h"
#include "framework/services/ThrowSites.h"
#include "toolkit/drawing/BitmapStore.h"
#include "toolkit/drawing/OGWorld.h"
#include "toolkit/drawing/RasterRegion.h"

namespace {

std::int32_t Clamp32(std::int64_t v) {
  return std::int32_t(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

RasterContext::RasterContext(Surface surface) { SetSurface(surface); }

void RasterContext::SetSurface(Surface surface) {
  if (surface.width <= 0 || surface.height <= 0 || !surface.pixels) surface = Surface{};
  mSurface = surface;
  mClip.clear();
  if (mSurface.pixels) mClip.push_back(Rect{0, 0, mSurface.width, mSurface.height});
}

Rect RasterContext::SurfaceBounds() const { return Rect{0, 0, mSurface.width, mSurface.height}; }
Rect RasterContext::GetBounds() const { return SurfaceBounds(); }

void RasterContext::BeginDraw() { ++mBeginCount; }
void RasterContext::EndDraw() {}
void RasterContext::SetOrigin(Point origin) { mOrigin = origin; }
Point RasterContext::GetMousePosition() const { return Point{}; }
void RasterContext::SetCursor(std::int16_t) {}
void RasterContext::RestoreCursor() {}
void RasterContext::SetForeColor(Color color) { mForePixel = ToPixel(color); }
void RasterContext::SetBackColor(Color color) { mBackColor = color; }

raster::Point64 RasterContext::Device(Point p) const {
  return raster::Point64{std::int64_t(p.x) - mOrigin.x, std::int64_t(p.y) - mOrigin.y};
}

void RasterContext::MoveTo(Point point) { mPen = Device(point); }

void RasterContext::LineTo(Point point) {
  const raster::Point64 from = mPen, to = Device(point);
  mPen = to;
  if (mClip.size() != 1) return LineInClipRegion(from, to);
  // One clip rectangle, the common case: the scope's dot is drawn here and a line is a tail call,
  // so neither saves anything on the stack.
  const Rect& clip = mClip.front();
  if (from.x != to.x || from.y != to.y) return raster::DrawLongLine(mSurface, clip, from, to, mForePixel);
  if (to.x >= clip.left && to.x < clip.right && to.y >= clip.top && to.y < clip.bottom)
    mSurface.pixels[to.y * mSurface.stride + to.x] = mForePixel;
}

void RasterContext::LineInClipRegion(raster::Point64 from, raster::Point64 to) {
  for (const Rect& clip : mClip) raster::DrawLine(mSurface, clip, from, to, mForePixel);
}

void RasterContext::PolyLineTo(const std::vector<std::int32_t>& xs, const std::vector<std::int32_t>& ys,
                               std::int32_t count) {
  const size_t n = std::min({xs.size(), ys.size(), size_t(std::max(count, 0))});
  if (n == 0) return;
  const raster::Point64 offset{-std::int64_t(mOrigin.x), -std::int64_t(mOrigin.y)};
  for (const Rect& clip : mClip)
    raster::DrawPolyline(mSurface, clip, xs.data(), ys.data(), n, offset, mForePixel);
  mPen = Device(Point{xs[n - 1], ys[n - 1]});
}

void RasterContext::FillRect(const Rect& rect) {
  const Rect device = ToDevice(rect);
  if (IsEmptyRect(device)) return;
  for (const Rect& clip : mClip) raster::FillRect(mSurface, clip, device, mForePixel);
}

void RasterContext::FillEllipse(const Rect& rect) {
  const Rect device = ToDevice(rect);
  for (const Rect& clip : mClip) raster::DrawEllipse(mSurface, clip, device, mForePixel, raster::kFilled);
}

void RasterContext::FrameEllipse(const Rect& rect) {
  const Rect device = ToDevice(rect);
  for (const Rect& clip : mClip)
    raster::DrawEllipse(mSurface, clip, device, mForePixel, raster::kOutlineOnly);
}

void RasterContext::FrameRect(const Rect& rect) {
  const Rect d = ToDevice(rect);
  if (IsEmptyRect(d)) return;
  const Rect edges[4] = {{d.left, d.top, d.right, d.top + 1},
                         {d.left, d.bottom - 1, d.right, d.bottom},
                         {d.left, d.top + 1, d.left + 1, d.bottom - 1},
                         {d.right - 1, d.top + 1, d.right, d.bottom - 1}};
  for (const Rect& clip : mClip)
    for (const Rect& edge : edges) raster::FillRect(mSurface, clip, edge, mForePixel);
}

void RasterContext::SetFont(std::int32_t fontIndex, Color color) {
  if (fontIndex == kNormalFont) mFont = &GetGlyphFont(FontSize::kNormal11px);
  if (fontIndex == kSmallFont) mFont = &GetGlyphFont(FontSize::kSmall9px);
  SetForeColor(color);
}

std::int32_t RasterContext::GetStringWidth(const char* text) {
  if (!mFont) mFont = &GetGlyphFont(FontSize::kNormal11px);
  return mFont->Width(text);
}

void RasterContext::ResetColors() {
  mForePixel = ToPixel(kBlack);
  mBackColor = kWhite;
}

void RasterContext::Copy(const PixelView& source, const Rect& sourceRect, Point destination,
                         raster::CopyMode mode) {
  if (!source.pixels) return;
  const raster::Point64 to = Device(destination);
  for (const Rect& clip : mClip) raster::CopyPixels(mSurface, clip, source, sourceRect, to, mode);
}

void RasterContext::DrawBitmapResource(std::int32_t bitmapId, const Rect& rect) {
  const BitmapResource* bitmap = FindBitmapResource(bitmapId);
  if (!bitmap || !bitmap->pixels) throw AppFrame::ResAlloc(&ThrowSites::kDrawingContextResource);
  const PixelView view{bitmap->pixels, std::max(bitmap->width, 0), std::max(bitmap->height, 0),
                       bitmap->width};
  Copy(view, Rect{0, 0, RectWidth(rect), RectHeight(rect)}, Point{rect.left, rect.top},
       raster::CopyMode::kCopy);
}

void RasterContext::CopyFromWorld(const OGWorld& world, const Rect& source, Point destination,
                                  bool resetColors) {
  if (resetColors) ResetColors();
  Copy(ViewOf(world.GetSurface()), source, destination, raster::CopyMode::kCopy);
}

void RasterContext::CopyMasked(const OGWorld& world, const Rect& source, const OGWorld& mask, Point maskPoint,
                               Point destination) {
  const Rect maskRect = RectFromOriginSize(maskPoint, RectWidth(source), RectHeight(source));
  Copy(ViewOf(world.GetSurface()), source, destination, raster::CopyMode::kXor);
  Copy(ViewOf(mask.GetSurface()), maskRect, destination, raster::CopyMode::kAnd);
  Copy(ViewOf(world.GetSurface()), source, destination, raster::CopyMode::kXor);
}

Color RasterContext::GetPixelColor(Point point) {
  const raster::Point64 d = Device(point);
  if (d.x < 0 || d.y < 0 || d.x >= mSurface.width || d.y >= mSurface.height) return kBlack;
  return FromPixel(mSurface.pixels[d.y * mSurface.stride + d.x]);
}

Rect RasterContext::GetTextBox(const Rect&, const char*) { return Rect{}; }
bool RasterContext::IsControlKeyDown() const { return false; }
bool RasterContext::IsShiftKeyDown() const { return false; }
bool RasterContext::IsControlShiftDown() const { return false; }
bool RasterContext::IsExtraModifierDown() const { return false; }
void RasterContext::SetMouseCapturer(MouseCapturer*) {}
void RasterContext::ClearMouseCapturer() {}
void RasterContext::ValidateRect(const Rect&) {}
void RasterContext::InvalidateRect(const Rect&) {}

Rect RasterContext::ToDevice(const Rect& rect) const {
  return Rect{Clamp32(std::int64_t(rect.left) - mOrigin.x), Clamp32(std::int64_t(rect.top) - mOrigin.y),
              Clamp32(std::int64_t(rect.right) - mOrigin.x), Clamp32(std::int64_t(rect.bottom) - mOrigin.y)};
}

void RasterContext::SetClipRect(const Rect& rect) {
  Rect device = ToDevice(rect);
  IntersectRect(device, SurfaceBounds());
  mClip.clear();
  if (!IsEmptyRect(device)) mClip.push_back(device);
}

std::unique_ptr<DrawContext::Region> RasterContext::NewRegion() const {
  return std::make_unique<RasterRegion>();
}

void RasterContext::SetClipRegion(const Region& region) {
  mClip.clear();
  const auto* raster = dynamic_cast<const RasterRegion*>(&region);
  if (!raster) return;
  for (Rect box : raster->Rects()) {
    IntersectRect(box, SurfaceBounds());
    if (!IsEmptyRect(box)) mClip.push_back(box);
  }
}
