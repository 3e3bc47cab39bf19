#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "analyser/engine/services/ScopeBuffer.h"

namespace {

std::vector<float> Ramp(int frames, float scale) {
  std::vector<float> v(static_cast<std::size_t>(frames));
  for (int i = 0; i < frames; ++i)
    v[static_cast<std::size_t>(i)] = scale * static_cast<float>(i % 1000) / 1000.0f;
  return v;
}

TEST(ScopeBufferPool, LongBlockFillsOneBufferAndStartsTheNext) {
  ScopeBufferPool pool;
  const std::vector<float> a = Ramp(3000, 0.5f), b = Ramp(3000, -0.75f);
  pool.Fill(a.data(), b.data(), 3000);

  std::vector<ScopeBuffer*> ready;
  ASSERT_TRUE(pool.CollectReady(ready));
  ASSERT_EQ(ready.size(), 1u);
  EXPECT_EQ(ready[0], &pool.Buffer(0));
  EXPECT_EQ(ready[0]->sequence.load(), 0u);
  EXPECT_EQ(ready[0]->fillPosition.load(), 0);
  EXPECT_EQ(ready[0]->first[2047], a[2047]);
  EXPECT_EQ(ready[0]->second[100], b[100]);
  EXPECT_FLOAT_EQ(ready[0]->peak.load(), 0.75f * 0.999f);

  ScopeBuffer& next = pool.Buffer(1);
  EXPECT_FALSE(next.IsReady());
  EXPECT_EQ(next.fillPosition.load(), 952);
  EXPECT_EQ(next.sequence.load(), 1u);
  EXPECT_EQ(next.first[0], a[2048]);
}

TEST(ScopeBufferPool, FullPoolDropsAudioUntilOneIsReleased) {
  ScopeBufferPool pool;
  const std::vector<float> a(2048 * 5, 0.25f);
  pool.Fill(a.data(), a.data(), 2048 * 5);
  std::vector<ScopeBuffer*> ready;
  pool.CollectReady(ready);
  ASSERT_EQ(ready.size(), 5u);
  for (std::size_t i = 0; i < ready.size(); ++i) EXPECT_EQ(ready[i]->sequence.load(), i) << "oldest first";

  const std::vector<float> loud(480, 0.9f);
  pool.Fill(loud.data(), loud.data(), 480);
  for (int i = 0; i < ScopeBufferPool::kSize; ++i)
    EXPECT_EQ(pool.Buffer(i).first[0], 0.25f) << "no ready buffer is written";

  pool.Buffer(2).Release();
  pool.Fill(loud.data(), loud.data(), 480);
  EXPECT_EQ(pool.Buffer(2).first[0], 0.9f);
  EXPECT_EQ(pool.Buffer(2).fillPosition.load(), 480);
  EXPECT_EQ(pool.Buffer(2).sequence.load(), 5u);
  EXPECT_FLOAT_EQ(pool.Buffer(2).peak.load(), 0.9f);
  pool.CollectReady(ready);
  EXPECT_EQ(ready.size(), 4u);
}

TEST(ScopeBufferPool, HandBackAndClear) {
  ScopeBufferPool pool;
  const std::vector<float> a(2048 * 2 + 10, 0.5f);
  pool.Fill(a.data(), a.data(), static_cast<int>(a.size()));
  pool.HandBackReady();
  std::vector<ScopeBuffer*> ready;
  EXPECT_FALSE(pool.CollectReady(ready));
  EXPECT_EQ(pool.Buffer(2).fillPosition.load(), 10) << "the buffer being filled is kept";

  pool.Clear();
  for (int i = 0; i < ScopeBufferPool::kSize; ++i) {
    EXPECT_EQ(pool.Buffer(i).fillPosition.load(), 0);
    EXPECT_EQ(pool.Buffer(i).first[0], 0.0f);
  }
  // Filling starts over in the first buffer; the sequence runs on.
  pool.Fill(a.data(), a.data(), 10);
  EXPECT_EQ(pool.Buffer(0).fillPosition.load(), 10);
  EXPECT_EQ(pool.Buffer(0).sequence.load(), 3u);
}

// The reader's toggle is the reader's: a reset leaves a held buffer ready, and a second
// hand-back cannot make a buffer the writer is filling read as ready.
TEST(ScopeBufferPool, OnlyTheReaderHandsBackAndOnlyWhatIsReady) {
  ScopeBufferPool pool;
  const std::vector<float> a(2048, 0.5f);
  pool.Fill(a.data(), a.data(), 2048);
  std::vector<ScopeBuffer*> held;
  ASSERT_TRUE(pool.CollectReady(held));
  ScopeBuffer& buffer = *held[0];
  pool.HandBackReady();  // a suspend while the reader draws it
  EXPECT_TRUE(buffer.IsReady());
  buffer.Release();
  pool.Fill(a.data(), a.data(), 100);
  EXPECT_EQ(buffer.fillPosition.load(), 100) << "the writer has it again";
  buffer.Release();
  EXPECT_FALSE(buffer.IsReady());
  pool.Fill(a.data(), a.data(), 2048 - 100);
  std::vector<ScopeBuffer*> ready;
  ASSERT_TRUE(pool.CollectReady(ready)) << "a refilled buffer is not taken for the one given up";
  EXPECT_EQ(ready[0], &buffer);
}

TEST(ScopeBufferPool, NonFiniteSamplesAreStoredAsSilence) {
  ScopeBufferPool pool;
  std::vector<float> a(2048, 0.1f), b(2048, -0.1f);
  a[5] = std::numeric_limits<float>::quiet_NaN();
  b[6] = std::numeric_limits<float>::infinity();
  a[7] = -std::numeric_limits<float>::infinity();
  pool.Fill(a.data(), b.data(), 2048);
  const ScopeBuffer& buffer = pool.Buffer(0);
  ASSERT_TRUE(buffer.IsReady());
  EXPECT_EQ(buffer.first[5], 0.0f);
  EXPECT_EQ(buffer.second[6], 0.0f);
  EXPECT_EQ(buffer.first[7], 0.0f);
  EXPECT_FLOAT_EQ(buffer.peak.load(), 0.1f);
  pool.Fill(nullptr, b.data(), 100);  // no view: nothing happens
  EXPECT_EQ(pool.Buffer(1).fillPosition.load(), 0);
}

}  // namespace
