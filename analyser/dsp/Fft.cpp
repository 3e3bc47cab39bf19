#include "analyser/dsp/Fft.h"

#include <array>
#include <cmath>
#include <cstdint>

namespace {

constexpr std::array<int, 21> kPowersOfTwo = [] {
  std::array<int, 21> p{};
  for (int i = 0; i < 21; ++i) p[i] = 1 << i;
  return p;
}();

constexpr std::array<std::uint8_t, 256> kBitReversed = [] {
  std::array<std::uint8_t, 256> t{};
  for (int i = 0; i < 256; ++i) {
    int r = 0;
    for (int b = 0; b < 8; ++b) r |= ((i >> b) & 1) << (7 - b);
    t[i] = static_cast<std::uint8_t>(r);
  }
  return t;
}();

// i with its low `bits` bits reversed (bits <= 24, enough for every supported size).
inline unsigned reverseBits(unsigned i, int bits) {
  const unsigned r = (unsigned{kBitReversed[i & 0xFF]} << 16) |
                     (unsigned{kBitReversed[(i >> 8) & 0xFF]} << 8) |
                     unsigned{kBitReversed[(i >> 16) & 0xFF]};
  return r >> (24 - bits);
}

constexpr float kSqrtHalf = 0.70710677f;

struct Complex {
  float re = 0.0f;
  float im = 0.0f;
};

// Blocks stay float arrays; values are read and written in (re, im) pairs.
inline Complex load(const float* x, int i) { return {x[2 * i], x[2 * i + 1]}; }

inline void store(float* x, int i, Complex v) {
  x[2 * i] = v.re;
  x[2 * i + 1] = v.im;
}

// x[a], x[b] := x[a] + t, x[b] - t, where t is x[b] already turned by its twiddle.
inline void combine(float* x, int a, int b, Complex t) {
  const Complex u = load(x, a);
  store(x, a, {u.re + t.re, u.im + t.im});
  store(x, b, {u.re - t.re, u.im - t.im});
}

// Butterfly with w = cos theta - i sin theta (forward) or cos theta + i sin theta (inverse).
template <bool Inverse>
inline void butterfly(float* x, int a, int b, float c, float s) {
  const Complex v = load(x, b);
  const float ws = Inverse ? s : -s;
  combine(x, a, b, {c * v.re - ws * v.im, c * v.im + ws * v.re});
}

// Butterfly with w = 1.
inline void butterfly(float* x, int a, int b) { combine(x, a, b, load(x, b)); }

// Butterfly with w = -i (forward) or +i (inverse): no multiplications.
template <bool Inverse>
inline void butterflyQuarter(float* x, int a, int b) {
  const Complex v = load(x, b);
  combine(x, a, b, Inverse ? Complex{-v.im, v.re} : Complex{v.im, -v.re});
}

// cos and sin of 2 pi j / tableN for j in [0, tableN / 4], read from the quarter-wave table:
// the cosine upwards from the start, the sine downwards from the end.
struct Angle {
  float c = 1.0f;
  float s = 0.0f;
};

inline Angle firstQuadrant(const float* table, int quarter, int j) { return {table[j], table[quarter - j]}; }

// theta + pi/2: the second quadrant from the same table, the cosine's sign turned.
inline Angle quarterTurn(Angle a) { return {-a.s, a.c}; }

// Bit-reversal permutation merged with the first radix-2 stage. Input pairs (j, j + n/2) land
// at (rev j, rev j + 1). The four places {a, a+1, a+n/2, a+n/2+1} (a even, a < n/2) are
// written exactly to the four places of rev a, so the groups swap in pairs and the sweep
// stays in place.
void firstPass(float* x, int logN, float scale) {
  const int n = kPowersOfTwo[logN];
  const int half = n / 2;
  auto group = [&](int a, Complex out[4]) {
    const Complex p = load(x, a), q = load(x, a + half), r = load(x, a + 1), t = load(x, a + 1 + half);
    out[0] = {(p.re + q.re) * scale, (p.im + q.im) * scale};
    out[1] = {(p.re - q.re) * scale, (p.im - q.im) * scale};
    out[2] = {(r.re + t.re) * scale, (r.im + t.im) * scale};
    out[3] = {(r.re - t.re) * scale, (r.im - t.im) * scale};
  };
  auto place = [&](int r, const Complex v[4]) {
    store(x, r, v[0]);
    store(x, r + 1, v[1]);
    store(x, r + half, v[2]);
    store(x, r + half + 1, v[3]);
  };
  for (int a = 0; a < half; a += 2) {
    const int r = static_cast<int>(reverseBits(static_cast<unsigned>(a), logN));
    if (r < a) continue;
    Complex ga[4], gr[4];
    group(a, ga);
    if (r != a) {
      group(r, gr);
      place(a, gr);
    }
    place(r, ga);
  }
}

// Second stage on blocks of 4 (twiddles 1 and -+i).
template <bool Inverse>
void radix4Pass(float* x, int n) {
  for (int b = 0; b < n; b += 4) {
    butterfly(x, b, b + 2);
    butterflyQuarter<Inverse>(x, b + 1, b + 3);
  }
}

// Second and third stages on blocks of 8 (twiddles from the eighth turns only).
template <bool Inverse>
void radix8FirstPass(float* x, int n) {
  for (int b = 0; b < n; b += 8) {
    float* y = x + 2 * b;
    butterfly(y, 0, 2);
    butterflyQuarter<Inverse>(y, 1, 3);
    butterfly(y, 4, 6);
    butterflyQuarter<Inverse>(y, 5, 7);
    butterfly(y, 0, 4);
    butterfly<Inverse>(y, 1, 5, kSqrtHalf, kSqrtHalf);
    butterflyQuarter<Inverse>(y, 2, 6);
    butterfly<Inverse>(y, 3, 7, -kSqrtHalf, kSqrtHalf);
  }
}

// The eight places p, p + len, ..., p + 7 len close under three radix-2 stages; a is the first
// stage's twiddle, b that of the second (and its quarter turn), c0, c1 those of the third (and
// theirs).
template <bool Inverse>
[[gnu::always_inline]] inline void radix8Column(float* x, int p0, int len, Angle a, Angle b0, Angle c0,
                                                Angle c1) {
  const Angle b1 = quarterTurn(b0), c2 = quarterTurn(c0), c3 = quarterTurn(c1);
  const int p1 = p0 + len, p2 = p0 + 2 * len, p3 = p0 + 3 * len;
  const int p4 = p0 + 4 * len, p5 = p0 + 5 * len, p6 = p0 + 6 * len, p7 = p0 + 7 * len;
  butterfly<Inverse>(x, p0, p1, a.c, a.s);
  butterfly<Inverse>(x, p2, p3, a.c, a.s);
  butterfly<Inverse>(x, p4, p5, a.c, a.s);
  butterfly<Inverse>(x, p6, p7, a.c, a.s);
  butterfly<Inverse>(x, p0, p2, b0.c, b0.s);
  butterfly<Inverse>(x, p1, p3, b1.c, b1.s);
  butterfly<Inverse>(x, p4, p6, b0.c, b0.s);
  butterfly<Inverse>(x, p5, p7, b1.c, b1.s);
  butterfly<Inverse>(x, p0, p4, c0.c, c0.s);
  butterfly<Inverse>(x, p1, p5, c1.c, c1.s);
  butterfly<Inverse>(x, p2, p6, c2.c, c2.s);
  butterfly<Inverse>(x, p3, p7, c3.c, c3.s);
}

// Grows sub-transforms of length len to 8 len. Column k needs the angles 4k, 2k, k and k + len
// in units of 2 pi / (8 len); all but the first stay in the first quadrant, and the first
// leaves it halfway, so each block runs as two half-passes over its columns.
template <bool Inverse>
void radix8Pass(float* x, int n, int len, const float* table, int quarter) {
  const int step = 4 * quarter / (8 * len);  // table entries per unit angle
  const int half = len / 2;
  for (int base = 0; base < n; base += 8 * len) {
    for (int k = 0; k < half; ++k)
      radix8Column<Inverse>(x, base + k, len, firstQuadrant(table, quarter, 4 * k * step),
                            firstQuadrant(table, quarter, 2 * k * step),
                            firstQuadrant(table, quarter, k * step),
                            firstQuadrant(table, quarter, (k + len) * step));
    for (int k = half; k < len; ++k)
      radix8Column<Inverse>(
          x, base + k, len, quarterTurn(firstQuadrant(table, quarter, (4 * k - 2 * len) * step)),
          firstQuadrant(table, quarter, 2 * k * step), firstQuadrant(table, quarter, k * step),
          firstQuadrant(table, quarter, (k + len) * step));
  }
}

// One complex block of 2^logN values; the table belongs to a transform of 4 quarter points,
// which is 2^logN or, inside the real transforms, twice that.
template <bool Inverse>
void complexBlock(float* x, int logN, float firstScale, const float* table, int quarter) {
  const int n = kPowersOfTwo[logN];
  firstPass(x, logN, firstScale);
  int len = 2;
  switch ((logN - 1) % 3) {
    case 1:
      radix4Pass<Inverse>(x, n);
      len = 4;
      break;
    case 2:
      radix8FirstPass<Inverse>(x, n);
      len = 8;
      break;
    default:
      break;
  }
  for (; len < n; len *= 8) radix8Pass<Inverse>(x, n, len, table, quarter);
}

// Real-transform bin pair (k, n/2 - k) with c, s = cos, sin of 2 pi k / n. Forward turns the
// half-length spectrum Z (computed at half scale) into X; inverse turns X into 2 Z.
inline void realForwardPair(float* x, int k, int j, float c, float s) {
  const Complex a = load(x, k), b = load(x, j);
  const float sumRe = a.re + b.re, sumIm = a.im + b.im;
  const float difRe = b.re - a.re, difIm = a.im - b.im;
  store(x, k, {sumRe + c * sumIm + s * difRe, difIm + c * difRe - s * sumIm});
  store(x, j, {sumRe - c * sumIm - s * difRe, -difIm + c * difRe - s * sumIm});
}

inline void realInversePair(float* x, int k, int j, float c, float s) {
  const Complex a = load(x, k), b = load(x, j);
  const float sumRe = a.re + b.re, sumIm = a.im + b.im;
  const float difRe = a.re - b.re, difIm = a.im - b.im;
  store(x, k, {sumRe - c * sumIm - s * difRe, difIm + c * difRe - s * sumIm});
  store(x, j, {sumRe + c * sumIm + s * difRe, -difIm + c * difRe - s * sumIm});
}

// Walks the bins of a packed spectrum of n real points in fours k, n/4 - k, n/4 + k, n/2 - k,
// which share one table read, after the pair n/8, 3n/8.
template <typename Pair>
void realBins(float* x, int n, const float* table, Pair pair) {
  const int quarter = n / 4, eighth = n / 8;
  pair(x, eighth, quarter + eighth, table[eighth], table[quarter - eighth]);
  for (int k = 1; k < eighth; ++k) {
    const float c = table[k], s = table[quarter - k];
    pair(x, k, 2 * quarter - k, c, s);
    pair(x, quarter - k, quarter + k, s, c);
  }
}

bool usable(const float* data, int m, int count, const float* table, int minLog2, int maxLog2) {
  return data && table && count > 0 && m >= minLog2 && m <= maxLog2;
}

template <bool Inverse>
void complexTransform(float* data, int m, int count, const float* table) {
  if (!usable(data, m, count, table, kFftComplexMinLog2, kFftComplexMaxLog2)) return;
  const int n = kPowersOfTwo[m];
  const float scale = Inverse ? 1.0f / static_cast<float>(n) : 1.0f;
  for (int i = 0; i < count; ++i, data += 2 * n) complexBlock<Inverse>(data, m, scale, table, n / 4);
}

int setup(int& m, int n, float* table, int minLog2, int maxLog2) {
  if (n <= 0) {
    m = 0;
    return 1;
  }
  m = static_cast<int>(std::log2(static_cast<double>(n)) + 0.5);
  if (m < minLog2 || m > maxLog2 || !table) return 1;
  if (static_cast<int>(integerPower(2, m) + 0.5f) != n) return 1;
  const int quarter = n / 4;
  const double turn = 6.283185307179586476925 / n;
  // Upper half from the sine so the table ends in an exact 0.
  for (int i = 0; i <= quarter; ++i)
    table[i] = static_cast<float>(2 * i <= quarter ? std::cos(turn * i) : std::sin(turn * (quarter - i)));
  return 0;
}

}  // namespace

int fftSetupComplex(int& m, int n, float* cosineTable) {
  return setup(m, n, cosineTable, kFftComplexMinLog2, kFftComplexMaxLog2);
}

int fftSetupReal(int& m, int n, float* cosineTable) {
  return setup(m, n, cosineTable, kFftRealMinLog2, kFftRealMaxLog2);
}

void fftComplexForward(float* data, int m, int count, const float* cosineTable) {
  complexTransform<false>(data, m, count, cosineTable);
}

void fftComplexInverse(float* data, int m, int count, const float* cosineTable) {
  complexTransform<true>(data, m, count, cosineTable);
}

void fftRealForward(float* data, int m, int count, const float* cosineTable) {
  if (!usable(data, m, count, cosineTable, kFftRealMinLog2, kFftRealMaxLog2)) return;
  const int n = kPowersOfTwo[m];
  const int quarter = n / 4;
  for (int i = 0; i < count; ++i, data += n) {
    // The samples read as n/2 complex values, transformed at half scale.
    complexBlock<false>(data, m - 1, 0.5f, cosineTable, quarter);
    const Complex z0 = load(data, 0), zq = load(data, quarter);
    store(data, 0, {2.0f * (z0.re + z0.im), 2.0f * (z0.re - z0.im)});
    store(data, quarter, {2.0f * zq.re, -2.0f * zq.im});
    realBins(data, n, cosineTable, realForwardPair);
  }
}

void fftRealInverse(float* data, int m, int count, const float* cosineTable) {
  if (!usable(data, m, count, cosineTable, kFftRealMinLog2, kFftRealMaxLog2)) return;
  const int n = kPowersOfTwo[m];
  const int quarter = n / 4;
  for (int i = 0; i < count; ++i, data += n) {
    const Complex x0 = load(data, 0), xq = load(data, quarter);
    store(data, 0, {x0.re + x0.im, x0.re - x0.im});
    store(data, quarter, {2.0f * xq.re, -2.0f * xq.im});
    realBins(data, n, cosineTable, realInversePair);
    // 1/n rather than 2/n: the bins above hold twice the half-length spectrum.
    complexBlock<true>(data, m - 1, 1.0f / static_cast<float>(n), cosineTable, quarter);
  }
}

float integerPower(float base, int exponent) {
  // Magnitude as unsigned so the most negative exponent does not overflow.
  unsigned e = exponent < 0 ? 0u - static_cast<unsigned>(exponent) : static_cast<unsigned>(exponent);
  float result = 1.0f;
  float square = base;
  while (e) {
    if (e & 1u) result *= square;
    e >>= 1;
    if (e) square *= square;
  }
  return exponent < 0 ? 1.0f / result : result;
}

float integerPower(int base, int exponent) { return integerPower(static_cast<float>(base), exponent); }
