#include "toolkit/drawing/OGWorld.h"

#include <algorithm>

#include "framework/services/Exceptions.h"
#include "framework/services/ThrowSites.h"
#include "toolkit/drawing/BitmapStore.h"

OGWorld::OGWorld(const Rect& rect) { Allocate(rect); }

OGWorld::OGWorld(std::int32_t bitmapId) {
  const BitmapResource* bitmap = FindBitmapResource(bitmapId);
  if (!bitmap || !bitmap->pixels) throw AppFrame::ResAlloc(&ThrowSites::kOffscreenImageCopy);
  Allocate(Rect{0, 0, bitmap->width, bitmap->height});
  std::copy_n(bitmap->pixels, mPixels.size(), mPixels.begin());
}

void OGWorld::Resize(const Rect& rect) {
  if (RectWidth(rect) == RectWidth(mRect) && RectHeight(rect) == RectHeight(mRect)) return;
  Allocate(rect);
}

void OGWorld::Allocate(const Rect& rect) {
  const std::int64_t width = std::max<std::int64_t>(std::int64_t(rect.right) - rect.left, 0);
  const std::int64_t height = std::max<std::int64_t>(std::int64_t(rect.bottom) - rect.top, 0);
  // Pixels are indexed in 32 bits.
  if (height != 0 && width > INT32_MAX / height) throw AppFrame::ResAlloc(&ThrowSites::kOffscreenImageSize);
  std::vector<std::uint32_t> pixels;
  try {
    pixels.assign(size_t(width * height), 0u);
  } catch (const std::bad_alloc&) {
    throw AppFrame::ResAlloc(&ThrowSites::kOffscreenImageBitmap);
  }
  mPixels.swap(pixels);
  mRect = rect;
  SetSurface(Surface{mPixels.data(), std::int32_t(width), std::int32_t(height), std::int32_t(width)});
}
