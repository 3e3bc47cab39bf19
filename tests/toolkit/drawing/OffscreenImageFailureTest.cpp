// Offscreen images that cannot be made. This program's allocator refuses requests of a gigabyte
// or more, so pixels that cannot be allocated fail here without taking the machine's memory.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "framework/services/Exceptions.h"
#include "framework/services/ThrowSites.h"
#include "toolkit/drawing/OGWorld.h"

namespace {
constexpr std::size_t kRefusedSize = std::size_t(1) << 30;
}  // namespace

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
  if (size < kRefusedSize)
    if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

std::int32_t FailedSite(const Rect& rect) {
  try {
    OGWorld world(rect);
  } catch (const AppFrame::ResAlloc&) {
    return AppFrame::GetLastExceptionSite().line;
  }
  return 0;
}

TEST(OffscreenImage, ASizeOutOfRangeOrPixelsThatCannotBeAllocatedThrowResAlloc) {
  struct Case {
    Rect rect;
    std::int32_t site;
  };
  const Case cases[] = {
      {Rect{0, 0, 46341, 46341}, ThrowSites::kOffscreenImageSize.line},  // past 32-bit pixel indices
      {Rect{INT32_MIN, 0, INT32_MAX, 2}, ThrowSites::kOffscreenImageSize.line},
      {Rect{0, INT32_MIN, 1, INT32_MAX}, ThrowSites::kOffscreenImageSize.line},
      {Rect{0, 0, 20000, 20000}, ThrowSites::kOffscreenImageBitmap.line},  // 1.6 GB
      {Rect{0, 0, INT32_MAX, 0}, 0},                                       // no pixels at all
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.rect.left << " " << c.rect.top << " " << c.rect.right << " "
                                    << c.rect.bottom);
    EXPECT_EQ(FailedSite(c.rect), c.site);
  }
}

TEST(OffscreenImage, AResizeThatFailsKeepsTheImage) {
  OGWorld world(Rect{0, 0, 4, 4});
  world.SetForeColor(Color{0xFFFF, 0, 0});
  world.FillRect(Rect{0, 0, 4, 4});
  for (const Rect& rect : {Rect{0, 0, 46341, 46341}, Rect{0, 0, 20000, 20000}}) {
    EXPECT_THROW(world.Resize(rect), AppFrame::ResAlloc);
    EXPECT_EQ(world.GetBounds(), (Rect{0, 0, 4, 4}));
    EXPECT_EQ(ToPixel(world.GetPixelColor(Point{3, 3})), 0xFF0000u);
  }
}

}  // namespace
