#include "toolkit/drawing/RasterRegion.h"

namespace {
pixman_region32_t MakeEmpty() {
  pixman_region32_t r{};
  pixman_region32_init(&r);
  return r;
}
}  // namespace

const pixman_region32_t RasterRegion::kEmpty = MakeEmpty();

RasterRegion::RasterRegion() { pixman_region32_init(&mRegion); }

RasterRegion::~RasterRegion() { pixman_region32_fini(&mRegion); }

void RasterRegion::Clear() { pixman_region32_clear(&mRegion); }

void RasterRegion::SetRect(const Rect& rect) {
  if (IsEmptyRect(rect)) {
    Clear();
    return;
  }
  const pixman_box32_t box{rect.left, rect.top, rect.right, rect.bottom};
  pixman_region32_reset(&mRegion, &box);
}

const pixman_region32_t* RasterRegion::Of(const Region& region) {
  const auto* raster = dynamic_cast<const RasterRegion*>(&region);
  return raster ? &raster->mRegion : &kEmpty;
}

void RasterRegion::Union(const Region& other) { pixman_region32_union(&mRegion, &mRegion, Of(other)); }

void RasterRegion::Subtract(const Region& other) { pixman_region32_subtract(&mRegion, &mRegion, Of(other)); }

void RasterRegion::Intersect(const Region& other) {
  pixman_region32_intersect(&mRegion, &mRegion, Of(other));
}

bool RasterRegion::IsEmpty() const { return !pixman_region32_not_empty(&mRegion); }

const pixman_box32_t* RasterRegion::Boxes(int& count) const {
  return pixman_region32_rectangles(&mRegion, &count);
}
