#pragma once

#include "analyser/engine/services/SpanKernel.h"

// Runs the span kernels of one instruction set while it lives, where the processor has it.
class SpanVariantScope {
 public:
  explicit SpanVariantScope(SpanVariant variant) : mAvailable(UseSpanVariant(variant)) {}
  ~SpanVariantScope() { UseSpanVariant(mBefore); }
  SpanVariantScope(const SpanVariantScope&) = delete;
  SpanVariantScope& operator=(const SpanVariantScope&) = delete;
  bool IsAvailable() const { return mAvailable; }

 private:
  SpanVariant mBefore = ActiveSpanVariant();
  bool mAvailable = false;
};

inline const char* VariantName(SpanVariant variant) {
  return variant == SpanVariant::kAvx2 ? "avx2" : "sse2";
}
