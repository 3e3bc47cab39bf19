#pragma once

#include <pixman.h>

#include "toolkit/drawing/DrawContext.h"

// The raster's clip region: a list of disjoint rectangles.
class RasterRegion : public DrawContext::Region {
 public:
  RasterRegion();
  ~RasterRegion() override;
  RasterRegion(const RasterRegion&) = delete;
  RasterRegion& operator=(const RasterRegion&) = delete;

  void Clear() override;
  void SetRect(const Rect& rect) override;
  void Union(const Region& other) override;
  void Subtract(const Region& other) override;
  void Intersect(const Region& other) override;
  bool IsEmpty() const override;

  // The rectangles, top to bottom, left to right.
  const pixman_box32_t* Boxes(int& count) const;

 private:
  // Another kind of region counts as empty.
  static const pixman_region32_t* Of(const Region& region);

  static const pixman_region32_t kEmpty;
  pixman_region32_t mRegion{};
};
