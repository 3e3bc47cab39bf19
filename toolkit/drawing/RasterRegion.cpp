#include "toolkit/drawing/RasterRegion.h"

#include <algorithm>

const std::vector<Rect>& RasterRegion::RectsOf(const Region& region) {
  static const std::vector<Rect> kNone;
  const auto* raster = dynamic_cast<const RasterRegion*>(&region);
  return raster ? raster->mRects : kNone;
}

void RasterRegion::AppendDifference(const std::vector<Rect>& rects, const Rect& cut, std::vector<Rect>& out) {
  for (const Rect& r : rects) {
    if (!RectsIntersect(r, cut)) {
      out.push_back(r);
      continue;
    }
    // Up to four pieces: the bands above and below the cut, and left and right of it between them.
    const std::int32_t top = std::max(r.top, cut.top), bottom = std::min(r.bottom, cut.bottom);
    if (r.top < cut.top) out.push_back(Rect{r.left, r.top, r.right, cut.top});
    if (cut.bottom < r.bottom) out.push_back(Rect{r.left, cut.bottom, r.right, r.bottom});
    if (r.left < cut.left) out.push_back(Rect{r.left, top, cut.left, bottom});
    if (cut.right < r.right) out.push_back(Rect{cut.right, top, r.right, bottom});
  }
}

void RasterRegion::Clear() { mRects.clear(); }

void RasterRegion::SetRect(const Rect& rect) {
  mRects.clear();
  if (!IsEmptyRect(rect)) mRects.push_back(rect);
}

void RasterRegion::Union(const Region& other) {
  // What the other region adds outside this one.
  std::vector<Rect> added = RectsOf(other), next;
  for (const Rect& mine : mRects) {
    next.clear();
    AppendDifference(added, mine, next);
    added.swap(next);
  }
  mRects.insert(mRects.end(), added.begin(), added.end());
}

void RasterRegion::Subtract(const Region& other) {
  std::vector<Rect> next;
  for (const Rect& cut : RectsOf(other)) {
    next.clear();
    AppendDifference(mRects, cut, next);
    mRects.swap(next);
  }
}

void RasterRegion::Intersect(const Region& other) {
  std::vector<Rect> common;
  for (const Rect& mine : mRects)
    for (Rect r : RectsOf(other)) {
      IntersectRect(r, mine);
      if (!IsEmptyRect(r)) common.push_back(r);
    }
  mRects.swap(common);
}

bool RasterRegion::IsEmpty() const { return mRects.empty(); }
