#include "analyser/engine/services/ScopeBuffer.h"

#include <algorithm>
#include <cmath>

#include "analyser/engine/services/AnalysisView.h"

void ScopeBufferPool::Fill(const float* first, const float* second, std::int32_t frames) {
  if (first == nullptr || second == nullptr) return;
  int current = mCurrent.load(std::memory_order_relaxed);
  std::int32_t i = 0;
  while (i < frames) {
    if (current < 0) {
      for (int b = 0; b < kSize && current < 0; ++b)
        if (!mBuffers[b].IsReady()) current = b;
      if (current < 0) break;  // all ready and unread: skip audio rather than wait
      const std::uint32_t sequence = mNextSequence.load(std::memory_order_relaxed);
      mNextSequence.store(sequence + 1, std::memory_order_relaxed);
      mBuffers[current].sequence.store(sequence, std::memory_order_relaxed);
      mBuffers[current].peak.store(0.0f, std::memory_order_relaxed);
    }
    ScopeBuffer& buffer = mBuffers[current];
    std::int32_t position = buffer.fillPosition.load(std::memory_order_relaxed);
    const std::int32_t todo = std::min(frames - i, ScopeBuffer::kFrames - position);
    float peak = 0.0f;
    for (std::int32_t k = 0; k < todo; ++k) {
      const float a = FiniteOrZero(first[i + k]);
      const float b = FiniteOrZero(second[i + k]);
      buffer.first[position + k] = a;
      buffer.second[position + k] = b;
      peak = std::max(peak, std::max(std::fabs(a), std::fabs(b)));
    }
    if (peak > buffer.peak.load(std::memory_order_relaxed))
      buffer.peak.store(peak, std::memory_order_relaxed);
    position += todo;
    i += todo;
    if (position >= ScopeBuffer::kFrames) {
      buffer.fillPosition.store(0, std::memory_order_relaxed);
      if (!buffer.IsReady()) {
        const std::int32_t toggle = buffer.writeToggle.load(std::memory_order_relaxed);
        buffer.writeToggle.store(toggle ^ 1, std::memory_order_release);
      }
      current = -1;
    } else {
      buffer.fillPosition.store(position, std::memory_order_relaxed);
    }
  }
  mCurrent.store(current, std::memory_order_relaxed);
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
