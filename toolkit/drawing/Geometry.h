#pragma once

#include <algorithm>
#include <cstdint>

// Pixel coordinates; right and bottom are exclusive.
struct Point {
  std::int32_t x{0};
  std::int32_t y{0};
};

struct Rect {
  std::int32_t left{0};
  std::int32_t top{0};
  std::int32_t right{0};
  std::int32_t bottom{0};
};

inline bool operator==(const Point& a, const Point& b) { return a.x == b.x && a.y == b.y; }
inline bool operator!=(const Point& a, const Point& b) { return !(a == b); }
inline bool operator==(const Rect& a, const Rect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline bool operator!=(const Rect& a, const Rect& b) { return !(a == b); }

inline Rect MakeRect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
  return Rect{left, top, right, bottom};
}
inline Rect RectFromOriginSize(Point origin, std::int32_t width, std::int32_t height) {
  return Rect{origin.x, origin.y, origin.x + width, origin.y + height};
}
inline std::int32_t RectWidth(const Rect& r) { return r.right - r.left; }
inline std::int32_t RectHeight(const Rect& r) { return r.bottom - r.top; }
inline bool IsEmptyRect(const Rect& r) { return !(r.left < r.right && r.top < r.bottom); }

// In place: left and top take the larger, right and bottom the smaller edges.
inline void IntersectRect(Rect& r, const Rect& other) {
  r.left = std::max(r.left, other.left);
  r.top = std::max(r.top, other.top);
  r.right = std::min(r.right, other.right);
  r.bottom = std::min(r.bottom, other.bottom);
}
inline bool RectsIntersect(Rect a, const Rect& b) {
  IntersectRect(a, b);
  return !IsEmptyRect(a);
}

// Strict on all four sides: the hit rule of the frame tree.
inline bool PointInsideRect(const Rect& r, Point p) {
  return r.left < p.x && p.x < r.right && r.top < p.y && p.y < r.bottom;
}

inline void InsetRect(Rect& r, std::int32_t dx, std::int32_t dy) {
  r.left += dx;
  r.right -= dx;
  r.top += dy;
  r.bottom -= dy;
}
inline void OffsetRect(Rect& r, Point by) {
  r.left += by.x;
  r.right += by.x;
  r.top += by.y;
  r.bottom += by.y;
}
inline void OffsetRectBack(Rect& r, Point by) { OffsetRect(r, Point{-by.x, -by.y}); }
