#pragma once

#include <vector>

#include "toolkit/drawing/RasterContext.h"

// An offscreen image: a blank one of a given size (the editor's back buffer) or a copy of one of
// the library's bitmaps (the images frames and controls copy from). A size of 0 or less makes
// an empty image.
class OGWorld : public RasterContext {
 public:
  // Blank (black); the bounds are the rect. Throws AppFrame::ResAlloc for a size of more pixels
  // than 32-bit indices reach, or pixels that cannot be allocated.
  explicit OGWorld(const Rect& rect);
  // Throws AppFrame::ResAlloc for an id the library does not hold.
  explicit OGWorld(std::int32_t bitmapId);

  Rect GetBounds() const override { return mRect; }
  // Same width and height: nothing; otherwise a blank image of the new size. Fails as the
  // constructor does, keeping the image as it was.
  void Resize(const Rect& rect);

 private:
  void Allocate(const Rect& rect);

  Rect mRect{};
  std::vector<std::uint32_t> mPixels{};
};
