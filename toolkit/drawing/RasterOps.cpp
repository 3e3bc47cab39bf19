#include "toolkit/drawing/RasterOps.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstring>

namespace raster {
namespace {

using Wide = __int128;

// Positive divisors only.
Wide FloorDiv(Wide a, Wide b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
Wide CeilDiv(Wide a, Wide b) { return -FloorDiv(-a, b); }

// The part of [lo, hi) that lies in [clipLo, clipHi), as 32-bit values.
bool Span(std::int64_t lo, std::int64_t hi, std::int32_t clipLo, std::int32_t clipHi, std::int32_t& outLo,
          std::int32_t& outHi) {
  lo = std::max<std::int64_t>(lo, clipLo);
  hi = std::min<std::int64_t>(hi, clipHi);
  if (lo >= hi) return false;
  outLo = std::int32_t(lo);
  outHi = std::int32_t(hi);
  return true;
}

std::uint32_t* At(const Surface& s, std::int64_t x, std::int64_t y) { return s.pixels + y * s.stride + x; }

// ceil(2^48 / run) for the runs of lines that fit in any editor: the fixed-point step of a line
// without a division per line.
constexpr std::int64_t kShortRun = 4096;
constexpr std::array<std::uint64_t, kShortRun> MakeReciprocals() {
  std::array<std::uint64_t, kShortRun> table{};
  for (std::uint64_t run = 1; run < std::uint64_t(kShortRun); ++run)
    table[run] = ((std::uint64_t(1) << 48) + run - 1) / run;
  return table;
}
constexpr std::array<std::uint64_t, kShortRun> kReciprocals = MakeReciprocals();

// The minor offset at step k is m(k) = floor((2 k rise + bias) / (2 run)); in 48-bit fixed point
// with the step and the start rounded up, the accumulated error stays below 1 / (2 run), so the
// floor is exactly Bresenham's. Every pixel's offset comes from the accumulator alone, so the
// pixels carry no dependency on one another.
constexpr std::int64_t kChunk = 8;
constexpr std::int64_t kChunkedRun = 16;

// `pixels` pixels from p, one major step apart. Leaf loops, kept out of line: with nothing saved
// on the stack their pixel stores are the only stores in flight.
template <ptrdiff_t kMinorSign, bool kXMajor>
__attribute__((noinline)) void ShortRun(std::uint32_t* p, ptrdiff_t stride, std::int64_t pixels,
                                        std::uint64_t acc, std::uint64_t step, std::uint32_t pixel) {
  const ptrdiff_t major = kXMajor ? 1 : stride;
  const ptrdiff_t minor = (kXMajor ? stride : 1) * kMinorSign;
  if (pixels < kChunkedRun) {
#pragma GCC unroll 4
    for (std::int64_t k = 0; k < pixels; ++k, p += major, acc += step)
      p[minor * ptrdiff_t(acc >> 48)] = pixel;
    return;
  }
  // Whole chunks, then one that ends at the line's end and may paint again, in the same colour,
  // pixels of the chunk before: lines of every length then take the same straight path, with
  // one loop exit to mispredict and no remainder to dispatch.
  auto chunk = [&](std::uint32_t* q, std::uint64_t a) {
#pragma GCC unroll 8
    for (std::int64_t j = 0; j < kChunk; ++j)
      q[j * major + minor * ptrdiff_t((a + std::uint64_t(j) * step) >> 48)] = pixel;
  };
  std::uint32_t* const last = p + (pixels - kChunk) * major;
  const std::uint64_t lastAcc = acc + std::uint64_t(pixels - kChunk) * step;
  for (std::int64_t n = (pixels - 1) / kChunk; n > 0; --n, p += kChunk * major, acc += kChunk * step)
    chunk(p, acc);
  chunk(last, lastAcc);
}

// A line from `from` to `to`, both inside the clip, with fewer than kShortRun steps; drawn from
// the end with the smaller major coordinate.
inline void ShortLine(const Surface& surface, Point64 from, Point64 to, std::uint32_t pixel) {
  const std::int64_t dx = to.x - from.x, dy = to.y - from.y;
  const std::int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  const bool xMajor = adx >= ady;
  const std::int64_t run = xMajor ? adx : ady, rise = xMajor ? ady : adx;
  const bool forward = (xMajor ? dx : dy) > 0;
  const Point64 start = forward ? from : to, end = forward ? to : from;
  const bool minorUp = xMajor ? end.y >= start.y : end.x >= start.x;
  const std::uint64_t reciprocal = kReciprocals[size_t(run)];
  const std::uint64_t step = std::uint64_t(rise) * reciprocal;
  const std::uint64_t half = std::uint64_t(1) << 47;
  const std::uint64_t acc = minorUp ? half : half - (reciprocal >> 1) + 1;
  std::uint32_t* p = At(surface, start.x, start.y);
  const ptrdiff_t stride = surface.stride;
  if (xMajor)
    return minorUp ? ShortRun<1, true>(p, stride, run + 1, acc, step, pixel)
                   : ShortRun<-1, true>(p, stride, run + 1, acc, step, pixel);
  return minorUp ? ShortRun<1, false>(p, stride, run + 1, acc, step, pixel)
                 : ShortRun<-1, false>(p, stride, run + 1, acc, step, pixel);
}

// Any line against the clip, in 128-bit arithmetic so that any 64-bit end points are exact.
__attribute__((noinline)) void ClippedLine(const Surface& surface, const Rect& clip, Point64 from, Point64 to,
                                           std::uint32_t pixel) {
  const bool xMajor = std::llabs(to.x - from.x) >= std::llabs(to.y - from.y);
  // Work in (major, minor) coordinates.
  std::int64_t major0 = xMajor ? from.x : from.y, minor0 = xMajor ? from.y : from.x;
  std::int64_t major1 = xMajor ? to.x : to.y, minor1 = xMajor ? to.y : to.x;
  if (major0 > major1) {
    std::swap(major0, major1);
    std::swap(minor0, minor1);
  }
  const std::int64_t majorLo = xMajor ? clip.left : clip.top,
                     majorHi = (xMajor ? clip.right : clip.bottom) - 1;
  const std::int64_t minorLo = xMajor ? clip.top : clip.left,
                     minorHi = (xMajor ? clip.bottom : clip.right) - 1;
  const std::int64_t run = major1 - major0;
  const std::int64_t rise = std::llabs(minor1 - minor0);
  const int minorSign = minor1 < minor0 ? -1 : 1;

  // Minor offset at step k: m(k) = floor((2 k rise + bias) / (2 run)); the bias rounds half
  // toward the positive minor axis.
  const Wide twoRun = Wide(2) * run, twoRise = Wide(2) * rise;
  const Wide bias = minorSign > 0 ? run : run - 1;
  Wide kLo = std::max<Wide>(0, majorLo - major0);
  Wide kHi = std::min<Wide>(run, majorHi - major0);
  const Wide needLo = minorSign > 0 ? minorLo - minor0 : minor0 - minorHi;
  const Wide needHi = minorSign > 0 ? minorHi - minor0 : minor0 - minorLo;
  if (needHi < 0) return;
  if (run == 0 || rise == 0) {
    if (needLo > 0) return;
  } else {
    if (needLo > 0) kLo = std::max(kLo, CeilDiv(twoRun * needLo - bias, twoRise));
    kHi = std::min(kHi, FloorDiv(twoRun * (needHi + 1) - bias - 1, twoRise));
  }
  if (kLo > kHi) return;

  const Wide numerator = twoRise * kLo + bias;
  const std::int64_t m = run == 0 ? 0 : std::int64_t(numerator / twoRun);
  std::int64_t rem = run == 0 ? 0 : std::int64_t(numerator - Wide(m) * twoRun);
  const std::int64_t major = major0 + std::int64_t(kLo), minor = minor0 + minorSign * m;
  std::uint32_t* p = xMajor ? At(surface, major, minor) : At(surface, minor, major);
  const ptrdiff_t majorStep = xMajor ? 1 : surface.stride;
  const ptrdiff_t minorStep = (xMajor ? surface.stride : 1) * minorSign;
  const std::int64_t r2 = std::int64_t(twoRise), d2 = std::int64_t(twoRun);
  for (std::int64_t n = std::int64_t(kHi - kLo); n >= 0; --n) {
    *p = pixel;
    p += majorStep;
    rem += r2;
    const bool step = rem >= d2;
    rem -= step ? d2 : 0;
    p += step ? minorStep : 0;
  }
}

}  // namespace

void DrawLongLine(const Surface& surface, const Rect& clip, Point64 from, Point64 to, std::uint32_t pixel) {
  const bool inside = std::min(from.x, to.x) >= clip.left && std::max(from.x, to.x) < clip.right &&
                      std::min(from.y, to.y) >= clip.top && std::max(from.y, to.y) < clip.bottom;
  const bool isShort = std::llabs(to.x - from.x) < kShortRun && std::llabs(to.y - from.y) < kShortRun;
  if (!inside || !isShort) return ClippedLine(surface, clip, from, to, pixel);
  ShortLine(surface, from, to, pixel);
}

void DrawPolyline(const Surface& surface, const Rect& clip, const std::int32_t* xs, const std::int32_t* ys,
                  size_t count, Point64 offset, std::uint32_t pixel) {
  if (count < 2) return;
  std::int32_t left = xs[0], right = xs[0], top = ys[0], bottom = ys[0];
  for (size_t i = 1; i < count; ++i) {
    left = std::min(left, xs[i]);
    right = std::max(right, xs[i]);
    top = std::min(top, ys[i]);
    bottom = std::max(bottom, ys[i]);
  }
  // Every point inside the clip and no line too long for the short path, the common case: no
  // line needs a test of its own.
  const bool inside = left + offset.x >= clip.left && right + offset.x < clip.right &&
                      top + offset.y >= clip.top && bottom + offset.y < clip.bottom &&
                      std::int64_t(right) - left < kShortRun && std::int64_t(bottom) - top < kShortRun;
  Point64 from{xs[0] + offset.x, ys[0] + offset.y};
  for (size_t i = 1; i < count; ++i) {
    const Point64 to{xs[i] + offset.x, ys[i] + offset.y};
    if (inside)
      ShortLine(surface, from, to, pixel);
    else
      DrawLine(surface, clip, from, to, pixel);
    from = to;
  }
}

void FillRect(const Surface& surface, const Rect& clip, const Rect& rect, std::uint32_t pixel) {
  std::int32_t l, r, t, b;
  if (!Span(rect.left, rect.right, clip.left, clip.right, l, r)) return;
  if (!Span(rect.top, rect.bottom, clip.top, clip.bottom, t, b)) return;
  for (std::int32_t y = t; y < b; ++y) std::fill_n(At(surface, l, y), r - l, pixel);
}

void DrawEllipse(const Surface& surface, const Rect& clip, const Rect& rect, std::uint32_t pixel,
                 bool outline) {
  if (IsEmptyRect(rect)) return;
  // Doubled coordinates relative to the centre: X = 2x + 1 - (left + right) for pixel column x;
  // inside when X^2 H^2 + Y^2 W^2 <= W^2 H^2.
  using UWide = unsigned __int128;
  const std::int64_t w = std::int64_t(rect.right) - rect.left, h = std::int64_t(rect.bottom) - rect.top;
  const std::int64_t sumX = std::int64_t(rect.left) + rect.right, sumY = std::int64_t(rect.top) + rect.bottom;
  // Inclusive column span of row y; empty (lo > hi) outside the rect.
  auto span = [&](std::int64_t y, std::int64_t& lo, std::int64_t& hi) {
    lo = 1;
    hi = 0;
    if (y < rect.top || y >= rect.bottom) return;
    const std::int64_t Y = 2 * y + 1 - sumY;
    const UWide limit = UWide(w) * UWide(w) * (UWide(h) * UWide(h) - UWide(Y * Y));
    const UWide hh = UWide(h) * UWide(h);
    // Largest |X| of the parity of w with X^2 h^2 <= limit.
    std::int64_t X = std::int64_t(std::sqrt(static_cast<long double>(limit) / static_cast<long double>(hh)));
    if (((X ^ w) & 1) == 0) ++X;  // X = 2(x - left) + 1 - w has the parity of w + 1
    while (X > 0 && UWide(X) * UWide(X) * hh > limit) X -= 2;
    while (UWide(X + 2) * UWide(X + 2) * hh <= limit) X += 2;
    if (X < 0 || UWide(X) * UWide(X) * hh > limit) return;
    // x = (X + sumX - 1) / 2
    lo = (-X + sumX - 1) / 2;
    hi = (X + sumX - 1) / 2;
  };
  const std::int64_t yFrom = std::max<std::int64_t>(rect.top, clip.top),
                     yTo = std::min<std::int64_t>(rect.bottom, clip.bottom);
  for (std::int64_t y = yFrom; y < yTo; ++y) {
    std::int64_t lo, hi;
    span(y, lo, hi);
    if (lo > hi) continue;
    if (!outline) {
      FillRect(surface, clip,
               Rect{std::int32_t(lo), std::int32_t(y), std::int32_t(hi + 1), std::int32_t(y + 1)}, pixel);
      continue;
    }
    // Interior: columns inside this row's ends and inside both neighbouring rows.
    std::int64_t aLo, aHi, bLo, bHi;
    span(y - 1, aLo, aHi);
    span(y + 1, bLo, bHi);
    const std::int64_t inLo = std::max({lo + 1, aLo, bLo}), inHi = std::min({hi - 1, aHi, bHi});
    if (inLo > inHi) {
      FillRect(surface, clip,
               Rect{std::int32_t(lo), std::int32_t(y), std::int32_t(hi + 1), std::int32_t(y + 1)}, pixel);
    } else {
      FillRect(surface, clip,
               Rect{std::int32_t(lo), std::int32_t(y), std::int32_t(inLo), std::int32_t(y + 1)}, pixel);
      FillRect(surface, clip,
               Rect{std::int32_t(inHi + 1), std::int32_t(y), std::int32_t(hi + 1), std::int32_t(y + 1)},
               pixel);
    }
  }
}

void CopyPixels(const Surface& target, const Rect& clip, const PixelView& source, const Rect& sourceRect,
                Point64 destination, CopyMode mode) {
  // Cut the source to its pixels, moving the destination along.
  std::int32_t sl, sr, st, sb;
  if (!Span(sourceRect.left, sourceRect.right, 0, source.width, sl, sr)) return;
  if (!Span(sourceRect.top, sourceRect.bottom, 0, source.height, st, sb)) return;
  const std::int64_t dx = destination.x + (sl - std::int64_t(sourceRect.left));
  const std::int64_t dy = destination.y + (st - std::int64_t(sourceRect.top));
  std::int32_t l, r, t, b;
  if (!Span(dx, dx + (sr - sl), clip.left, clip.right, l, r)) return;
  if (!Span(dy, dy + (sb - st), clip.top, clip.bottom, t, b)) return;
  const std::int64_t offX = std::int64_t(sl) - dx, offY = std::int64_t(st) - dy;  // source = target + off
  const std::int32_t width = r - l;
  // Within one surface, rows moving down are copied bottom-up and pixels moving right
  // right-to-left.
  const bool same = target.pixels == source.pixels;
  const bool upward = same && offY < 0;
  const bool leftward = same && offY == 0 && offX < 0;
  for (std::int32_t i = 0; i < b - t; ++i) {
    const std::int32_t y = upward ? b - 1 - i : t + i;
    std::uint32_t* to = At(target, l, y);
    const std::uint32_t* from = source.pixels + (y + offY) * source.stride + (l + offX);
    switch (mode) {
      case CopyMode::kCopy:
        std::memmove(to, from, size_t(width) * sizeof(std::uint32_t));
        break;
      case CopyMode::kXor:
        if (leftward)
          for (std::int32_t x = width - 1; x >= 0; --x) to[x] ^= from[x];
        else
          for (std::int32_t x = 0; x < width; ++x) to[x] ^= from[x];
        break;
      case CopyMode::kAnd:
        if (leftward)
          for (std::int32_t x = width - 1; x >= 0; --x) to[x] &= from[x];
        else
          for (std::int32_t x = 0; x < width; ++x) to[x] &= from[x];
        break;
    }
  }
}

void FillMask(const Surface& target, const Rect& clip, const std::uint8_t* mask, std::int32_t maskWidth,
              std::int32_t maskHeight, Point64 destination, std::uint32_t pixel) {
  std::int32_t l, r, t, b;
  if (!Span(destination.x, destination.x + maskWidth, clip.left, clip.right, l, r)) return;
  if (!Span(destination.y, destination.y + maskHeight, clip.top, clip.bottom, t, b)) return;
  for (std::int32_t y = t; y < b; ++y) {
    const std::uint8_t* m = mask + (y - destination.y) * maskWidth + (l - destination.x);
    std::uint32_t* p = At(target, l, y);
    for (std::int32_t x = 0; x < r - l; ++x)
      if (m[x]) p[x] = pixel;
  }
}

}  // namespace raster
