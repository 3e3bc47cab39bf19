#pragma once

#include <cstdint>

#include "toolkit/editor/PixMapRef.h"
#include "toolkit/frames/PixMapDrawFrame.h"

// A picture: the rectangle of one of the library's bitmaps from a source point, the bitmap
// shared through the editor root's cache for as long as the frame lives.
class KorvaneGenericDrawFrame : public PixMapDrawFrame {
 public:
  KorvaneGenericDrawFrame(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width,
                          std::int32_t height, std::int32_t sourceX, std::int32_t sourceY,
                          std::int32_t bitmapId);

 private:
  PixMapRef mPicture;
};
