#include "analyser/dsp/IirFilter.h"

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <utility>

namespace {

// Rounding in the subnormal range can hold a decaying filter in a limit cycle of subnormal
// values, each slow to compute, for ever: such an output is taken as 0.
inline double flushSubnormal(double y) { return std::fabs(y) < DBL_MIN ? 0.0 : y; }

// Order N with every coefficient term and history shift spelt out by the pack expansions,
// summed in the order b0 x, b1 x1 .. bN xN, -a1 y1 .. -aN yN.
template <int N, std::size_t... I, std::size_t... S>
void runOrder(IirFilter& f, const float* input, float* output, int count, std::index_sequence<I...>,
              std::index_sequence<S...>) {
  const double b0 = f.b[0];
  const double b[N] = {f.b[I + 1]...};
  const double a[N] = {f.a[I + 1]...};
  float xh[N] = {f.inputHistory[I]...};
  double yh[N] = {f.outputHistory[I]...};
  for (int n = 0; n < count; ++n) {
    const float xf = input[n];
    double y = b0 * static_cast<double>(xf);
    ((y += b[I] * static_cast<double>(xh[I])), ...);
    ((y -= a[I] * yh[I]), ...);
    y = flushSubnormal(y);
    ((xh[N - 1 - S] = xh[N - 2 - S]), ...);
    ((yh[N - 1 - S] = yh[N - 2 - S]), ...);
    xh[0] = xf;
    yh[0] = y;
    output[n] = static_cast<float>(y);
  }
  ((f.inputHistory[I] = xh[I]), ...);
  ((f.outputHistory[I] = yh[I]), ...);
}

template <int N>
void runOrder(IirFilter& f, const float* input, float* output, int count) {
  runOrder<N>(f, input, output, count, std::make_index_sequence<N>{}, std::make_index_sequence<N - 1>{});
}

constexpr IirFilter::Routine kUnrolled[] = {nullptr,     runOrder<1>, runOrder<2>, runOrder<3>,
                                            runOrder<4>, runOrder<5>, runOrder<6>};
constexpr int kUnrolledOrders = static_cast<int>(sizeof kUnrolled / sizeof kUnrolled[0]);

// Guards records that were filled by hand rather than by createIirFilter.
bool runnable(const IirFilter* f, const float* input, const float* output, int count) {
  return f && f->b && f->a && f->coefficientCount >= 1 && f->coefficientCount <= IirFilter::kMaxOrder + 1 &&
         input && output && count > 0;
}

}  // namespace

IirFilter* createIirFilter(const double* b, const double* a, std::int16_t order) {
  if (order < 0 || order > IirFilter::kMaxOrder || !b || !a) return nullptr;
  auto* filter = new IirFilter{};
  filter->b = b;
  filter->a = a;
  filter->coefficientCount = order + 1;
  filter->routine = order < kUnrolledOrders ? kUnrolled[order] : nullptr;
  return filter;
}

void resetIirFilter(IirFilter* filter, float value) {
  if (!filter) return;
  for (int i = 0; i < filter->coefficientCount; ++i) {
    filter->inputHistory[i] = value;
    filter->outputHistory[i] = value;
  }
}

void runIirFilter(IirFilter* filter, const float* input, float* output, int count) {
  if (!runnable(filter, input, output, count)) return;
  if (filter->routine)
    filter->routine(*filter, input, output, count);
  else
    runIirFilterGeneric(filter, input, 1, output, 1, count);
}

void runIirFilterGeneric(IirFilter* filter, const float* input, int inputStep, float* output, int outputStep,
                         int count) {
  if (!runnable(filter, input, output, count)) return;
  const int order = filter->coefficientCount - 1;
  const double* b = filter->b;
  const double* a = filter->a;
  float* xh = filter->inputHistory.data();
  double* yh = filter->outputHistory.data();
  for (int n = 0; n < count; ++n) {
    const float xf = input[static_cast<std::ptrdiff_t>(n) * inputStep];
    double y = b[0] * static_cast<double>(xf);
    for (int k = 1; k <= order; ++k) y += b[k] * static_cast<double>(xh[k - 1]) - a[k] * yh[k - 1];
    y = flushSubnormal(y);
    for (int k = order - 1; k > 0; --k) {
      xh[k] = xh[k - 1];
      yh[k] = yh[k - 1];
    }
    if (order > 0) {
      xh[0] = xf;
      yh[0] = y;
    }
    output[static_cast<std::ptrdiff_t>(n) * outputStep] = static_cast<float>(y);
  }
}
