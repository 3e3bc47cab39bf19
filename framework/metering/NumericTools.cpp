#include "framework/metering/NumericTools.h"

#include <atomic>
#include <cmath>
#include <cstring>
#include <vector>

bool IsPowerOfTwo(std::uint32_t n) { return n != 0 && (n & (n - 1)) == 0; }

namespace {
std::atomic<std::uint32_t> gNoiseSeed{1};
static_assert(std::atomic<std::uint32_t>::is_always_lock_free);
}  // namespace

float NextNoise() {
  // Any thread may ask; a lost update only repeats a noise value.
  const std::uint32_t seed = gNoiseSeed.load(std::memory_order_relaxed) * 1234567u + 890123u;
  gNoiseSeed.store(seed, std::memory_order_relaxed);
  const std::uint32_t bits = (seed & 0x9E7F0000u) | 0x1E000000u;
  float result = 0.0f;
  std::memcpy(&result, &bits, sizeof result);
  return result;
}

float FlushDenormal(float x) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &x, sizeof bits);
  const bool exponentZero = (bits & 0x7F800000u) == 0;
  const bool mantissaZero = (bits & 0x007FFFFFu) == 0;
  return (exponentZero && !mantissaZero) ? 0.0f : x;
}

bool IsNaNBits(float x) {
  std::uint32_t bits = 0;
  std::memcpy(&bits, &x, sizeof bits);
  return (bits & 0x7F800000u) == 0x7F800000u && (bits & 0x007FFFFFu) != 0;
}

double IntegerPower(double x, int n) {
  // By squaring, so a huge exponent cannot stall the caller; 64 bits keep -INT_MIN.
  unsigned long long remaining = n < 0 ? -static_cast<long long>(n) : n;
  double result = 1.0;
  double factor = x;
  while (remaining != 0) {
    if (remaining & 1u) result *= factor;
    factor *= factor;
    remaining >>= 1;
  }
  return n < 0 ? 1.0 / result : result;
}

double EvaluatePolynomial(double x, const double* coefficients, int degree) {
  double result = 0.0;
  for (int i = degree; i >= 0; --i) result = result * x + coefficients[i];
  return result;
}

float EvaluatePolynomial(float x, const float* coefficients, int degree) {
  float result = 0.0f;
  for (int i = degree; i >= 0; --i) result = result * x + coefficients[i];
  return result;
}

bool LUDecompose(double* a, int n, int* permutation, double* sign) {
  if (n <= 0) return false;
  // Implicit scaling: each row is judged by its largest element; check every row first so
  // that a zero row leaves the matrix as it was.
  std::vector<double> scale(static_cast<std::size_t>(n), 0.0);
  for (int i = 0; i < n; ++i) {
    double largest = 0.0;
    for (int j = 0; j < n; ++j) largest = std::fmax(largest, std::fabs(a[i * n + j]));
    if (largest == 0.0) return false;
    scale[i] = 1.0 / largest;
  }
  *sign = 1.0;
  for (int j = 0; j < n; ++j) {
    for (int i = 0; i < j; ++i) {
      double sum = a[i * n + j];
      for (int k = 0; k < i; ++k) sum -= a[i * n + k] * a[k * n + j];
      a[i * n + j] = sum;
    }
    double best = 0.0;
    int pivotRow = j;
    for (int i = j; i < n; ++i) {
      double sum = a[i * n + j];
      for (int k = 0; k < j; ++k) sum -= a[i * n + k] * a[k * n + j];
      a[i * n + j] = sum;
      const double merit = scale[i] * std::fabs(sum);
      if (merit >= best) {
        best = merit;
        pivotRow = i;
      }
    }
    if (pivotRow != j) {
      for (int k = 0; k < n; ++k) {
        const double t = a[pivotRow * n + k];
        a[pivotRow * n + k] = a[j * n + k];
        a[j * n + k] = t;
      }
      *sign = -*sign;
      scale[pivotRow] = scale[j];
    }
    permutation[j] = pivotRow;
    if (a[j * n + j] == 0.0) a[j * n + j] = 1e-20;
    const double inverse = 1.0 / a[j * n + j];
    for (int i = j + 1; i < n; ++i) a[i * n + j] *= inverse;
  }
  return true;
}

void LUBackSubstitute(const double* a, int n, const int* permutation, double* b) {
  int firstNonZero = -1;
  for (int i = 0; i < n; ++i) {
    const int p = permutation[i];
    double sum = b[p];
    b[p] = b[i];
    if (firstNonZero >= 0) {
      for (int j = firstNonZero; j < i; ++j) sum -= a[i * n + j] * b[j];
    } else if (sum != 0.0) {
      firstNonZero = i;
    }
    b[i] = sum;
  }
  for (int i = n - 1; i >= 0; --i) {
    double sum = b[i];
    for (int j = i + 1; j < n; ++j) sum -= a[i * n + j] * b[j];
    b[i] = sum / a[i * n + i];
  }
}

bool FitPolynomial(double* sums, const double* xs, const double* ys, int count, int degree,
                   double* coefficients) {
  if (degree < 0 || degree > kMaxFitDegree || count <= 0) return false;
  const int n = degree + 1;
  for (int k = 0; k < 2 * n - 1; ++k) sums[k] = 0.0;
  for (int r = 0; r < n; ++r) coefficients[r] = 0.0;
  for (int i = 0; i < count; ++i) {
    double power = 1.0;
    for (int k = 0; k < 2 * n - 1; ++k) {
      sums[k] += power;
      if (k < n) coefficients[k] += power * ys[i];
      power *= xs[i];
    }
  }
  double matrix[(kMaxFitDegree + 1) * (kMaxFitDegree + 1)] = {};
  for (int r = 0; r < n; ++r)
    for (int c = 0; c < n; ++c) matrix[r * n + c] = sums[r + c];
  int permutation[kMaxFitDegree + 1] = {};
  double sign = 0.0;
  if (!LUDecompose(matrix, n, permutation, &sign)) return false;
  LUBackSubstitute(matrix, n, permutation, coefficients);
  for (int r = 0; r < n; ++r)
    if (!std::isfinite(coefficients[r])) return false;
  return true;
}

void LineThroughPoints(const double* xs, const double* ys, double* out) {
  const double slope = (ys[1] - ys[0]) / (xs[1] - xs[0]);
  out[0] = ys[0] - slope * xs[0];
  out[1] = slope;
}

double FitLine(int count, const double* xs, const double* ys, double* intercept, double* slope) {
  double sx = 0.0, sy = 0.0, sxx = 0.0, sxy = 0.0;
  for (int i = 0; i < count; ++i) {
    sx += xs[i];
    sy += ys[i];
    sxx += xs[i] * xs[i];
    sxy += xs[i] * ys[i];
  }
  const double determinant = count * sxx - sx * sx;
  if (determinant != 0.0) {
    *slope = (count * sxy - sx * sy) / determinant;
    *intercept = (sy - *slope * sx) / count;
  }
  return determinant;
}
