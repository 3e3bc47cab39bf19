#pragma once

#include <vector>

#include "toolkit/drawing/DrawContext.h"

// The raster's clip region: disjoint, non-empty rectangles. Regions here are few and small (the
// rectangles of modal frames), so the operations work rectangle by rectangle.
class RasterRegion : public DrawContext::Region {
 public:
  void Clear() override;
  void SetRect(const Rect& rect) override;
  void Union(const Region& other) override;
  void Subtract(const Region& other) override;
  void Intersect(const Region& other) override;
  bool IsEmpty() const override;

  const std::vector<Rect>& Rects() const { return mRects; }

 private:
  // Another kind of region counts as empty.
  static const std::vector<Rect>& RectsOf(const Region& region);
  // The parts of the rectangles that lie outside cut, appended to out.
  static void AppendDifference(const std::vector<Rect>& rects, const Rect& cut, std::vector<Rect>& out);

  std::vector<Rect> mRects{};
};
