#include "platform/FloatingPointGuard.h"

#include <xmmintrin.h>

namespace {
constexpr std::uint32_t kAllExceptionsMasked =
    0x1F80;  // invalid, denormal, div-by-zero, overflow, underflow, precision
constexpr std::uint32_t kHostKeptBits = 0x8000 | 0x0040;  // flush-to-zero, denormals-are-zero
}  // namespace

FloatingPointGuard::FloatingPointGuard() : mSaved(_mm_getcsr()) {
  // Rounding bits cleared: round to nearest.
  _mm_setcsr((mSaved & kHostKeptBits) | kAllExceptionsMasked);
}

FloatingPointGuard::~FloatingPointGuard() { _mm_setcsr(mSaved); }
