#include "analyser/editor/main/KorvaneGenericDrawFrame.h"

#include "toolkit/frames/Redraw.h"

KorvaneGenericDrawFrame::KorvaneGenericDrawFrame(Frame* parent, std::int32_t x, std::int32_t y,
                                                 std::int32_t width, std::int32_t height,
                                                 std::int32_t sourceX, std::int32_t sourceY,
                                                 std::int32_t bitmapId)
    : PixMapDrawFrame(parent, x, y, width, height, 0, 0, nullptr, 0, 0), mPicture(GetRoot(), bitmapId) {
  SetPixMap(mPicture.Get(), sourceX, sourceY, kRedraw);
}
