#include "analyser/engine/services/ScopeBuffer.h"

#include <algorithm>

#include "analyser/engine/services/AnalysisPass.h"

ScopeBufferPool::Pass::Pass(ScopeBufferPool* pool) : mPool(pool) {
  if (pool != nullptr) mCurrent = pool->mCurrent.load(std::memory_order_relaxed);
}

std::int32_t ScopeBufferPool::Pass::Room() {
  if (mCurrent < 0) {
    ScopeBuffer* buffers = mPool->mBuffers;
    for (int b = 0; b < kSize && mCurrent < 0; ++b)
      if (!buffers[b].IsReady()) mCurrent = b;
    if (mCurrent < 0) return 0;
    const std::uint32_t sequence = mPool->mNextSequence.load(std::memory_order_relaxed);
    mPool->mNextSequence.store(sequence + 1, std::memory_order_relaxed);
    buffers[mCurrent].sequence.store(sequence, std::memory_order_relaxed);
    buffers[mCurrent].peak.store(0.0f, std::memory_order_relaxed);
  }
  return ScopeBuffer::kFrames - mPool->mBuffers[mCurrent].fillPosition.load(std::memory_order_relaxed);
}

float* ScopeBufferPool::Pass::FirstDestination() const {
  ScopeBuffer& buffer = mPool->mBuffers[mCurrent];
  return buffer.first + buffer.fillPosition.load(std::memory_order_relaxed);
}

float* ScopeBufferPool::Pass::SecondDestination() const {
  ScopeBuffer& buffer = mPool->mBuffers[mCurrent];
  return buffer.second + buffer.fillPosition.load(std::memory_order_relaxed);
}

void ScopeBufferPool::Pass::Add(float peak, std::int32_t frames) {
  ScopeBuffer& buffer = mPool->mBuffers[mCurrent];
  if (peak > buffer.peak.load(std::memory_order_relaxed)) buffer.peak.store(peak, std::memory_order_relaxed);
  const std::int32_t position = buffer.fillPosition.load(std::memory_order_relaxed) + frames;
  if (position < ScopeBuffer::kFrames) {
    buffer.fillPosition.store(position, std::memory_order_relaxed);
    return;
  }
  buffer.fillPosition.store(0, std::memory_order_relaxed);
  if (!buffer.IsReady()) {
    const std::int32_t toggle = buffer.writeToggle.load(std::memory_order_relaxed);
    buffer.writeToggle.store(toggle ^ 1, std::memory_order_release);
  }
  mCurrent = -1;
}

void ScopeBufferPool::Pass::Finish() {
  if (mPool != nullptr) mPool->mCurrent.store(mCurrent, std::memory_order_relaxed);
}

void ScopeBufferPool::Fill(const float* first, const float* second, std::int32_t frames) {
  RunAnalysisPass(AnalysisView{first, second}, frames, AnalysisParts{nullptr, nullptr, this});
}

bool ScopeBufferPool::CollectReady(std::vector<ScopeBuffer*>& out) {
  out.clear();
  for (ScopeBuffer& buffer : mBuffers) {
    if (!buffer.IsReady()) continue;
    const std::uint32_t sequence = buffer.sequence.load(std::memory_order_relaxed);
    if (buffer.handedBack.load(std::memory_order_relaxed) == (ScopeBuffer::kHandedBack | sequence)) {
      buffer.Release();
      continue;
    }
    out.push_back(&buffer);
  }
  // Oldest first; the difference keeps the order right across the counter's wrap.
  std::sort(out.begin(), out.end(), [](const ScopeBuffer* x, const ScopeBuffer* y) {
    const std::uint32_t d =
        x->sequence.load(std::memory_order_relaxed) - y->sequence.load(std::memory_order_relaxed);
    return static_cast<std::int32_t>(d) < 0;
  });
  return !out.empty();
}

// The sequence marks which filling of the buffer was given up: once the reader has handed it
// back and the writer filled it again, the mark no longer matches.
void ScopeBufferPool::HandBackReady() {
  for (ScopeBuffer& buffer : mBuffers) {
    if (!buffer.IsReady()) continue;
    buffer.handedBack.store(ScopeBuffer::kHandedBack | buffer.sequence.load(std::memory_order_relaxed),
                            std::memory_order_relaxed);
  }
}

void ScopeBufferPool::Clear() {
  HandBackReady();
  for (ScopeBuffer& buffer : mBuffers) {
    if (buffer.IsReady()) continue;
    buffer.sequence.store(0, std::memory_order_relaxed);
    std::fill(std::begin(buffer.first), std::end(buffer.first), 0.0f);
    std::fill(std::begin(buffer.second), std::end(buffer.second), 0.0f);
    buffer.peak.store(0.0f, std::memory_order_relaxed);
    buffer.fillPosition.store(0, std::memory_order_relaxed);
  }
  mCurrent.store(-1, std::memory_order_relaxed);
}
