#include "analyser/engine/services/SpanKernel.h"

#include <atomic>

namespace {

bool HasAvx2() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2");
}

const SpanKernelTable& TableOf(SpanVariant variant) {
  return variant == SpanVariant::kAvx2 ? Avx2SpanKernels() : Sse2SpanKernels();
}

// Chosen once when the library loads; the audio thread only reads it.
std::atomic<SpanVariant> gVariant{HasAvx2() ? SpanVariant::kAvx2 : SpanVariant::kSse2};
std::atomic<const SpanKernelTable*> gTable{&TableOf(gVariant.load())};
static_assert(std::atomic<const SpanKernelTable*>::is_always_lock_free);

}  // namespace

SpanVariant ActiveSpanVariant() { return gVariant.load(std::memory_order_relaxed); }

bool IsSpanVariantAvailable(SpanVariant variant) { return variant == SpanVariant::kSse2 || HasAvx2(); }

bool UseSpanVariant(SpanVariant variant) {
  if (!IsSpanVariantAvailable(variant)) return false;
  gVariant.store(variant, std::memory_order_relaxed);
  gTable.store(&TableOf(variant), std::memory_order_relaxed);
  return true;
}

SpanKernel SpanKernelFor(unsigned parts) {
  // Null only while the libraries are still being loaded.
  const SpanKernelTable* table = gTable.load(std::memory_order_relaxed);
  return (table ? *table : Sse2SpanKernels()).kernels[parts % kSpanPartCombinations];
}
