#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "Analysers.h"

namespace {

std::vector<float> Tone(int frames, float gain, float phase) {
  std::vector<float> v(static_cast<std::size_t>(frames));
  for (int i = 0; i < frames; ++i)
    v[static_cast<std::size_t>(i)] = gain * std::sin(0.07f * static_cast<float>(i) + phase);
  return v;
}

class PhaseService : public ::testing::Test {
 protected:
  void SetUp() override { analysers.Setup(44100.0f); }
  void Run(const std::vector<float>& a, const std::vector<float>& b) {
    analysers.Process(a.data(), b.data(), static_cast<int>(a.size()));
  }
  int ReadyCount() {
    std::vector<ScopeBuffer*> ready;
    phase().CollectReadyScopeBuffers(ready);
    return static_cast<int>(ready.size());
  }
  KorvanePhaseService& phase() { return analysers.Phase(); }
  Analysers analysers;
};

TEST_F(PhaseService, DisabledScopeStoresNothingWhileCorrelationRuns) {
  phase().GetPhaseConfig()->SetPhaseScopeEnabled(false, false);
  const std::vector<float> a = Tone(2205 * 4, 0.5f, 0.0f);
  std::vector<float> b = a;
  for (float& x : b) x = -x;
  Run(a, b);
  EXPECT_EQ(ReadyCount(), 0);
  EXPECT_EQ(analysers.Correlation(), -1.0f);
  phase().GetPhaseConfig()->SetPhaseScopeEnabled(true, false);
  Run(a, b);
  EXPECT_EQ(ReadyCount(), 4);
  EXPECT_EQ(phase().GetScopeBufferSize(), 2048);
}

TEST_F(PhaseService, HoldFallsOnlyForLowerWindowsAndResets) {
  // Quadrature tones: correlation near 0 per window, well below the hold.
  const std::vector<float> a = Tone(2205, 0.5f, 0.0f), b = Tone(2205, 0.5f, 1.5707963f);
  Run(a, b);
  const float r = analysers.Correlation();
  ASSERT_LT(std::fabs(r), 0.1f);
  const float k =
      static_cast<float>(1.0 / (1.0 + 1.0 / static_cast<double>(0.05f) * 0.5 * (1.0 - 1.0 / M_E) / 0.95));
  EXPECT_NEAR(analysers.Hold(), 1.0f + (r - 1.0f) * k, 1e-6f);
  const float held = analysers.Hold();
  Run(a, a);  // a window of 1.0 leaves the hold
  EXPECT_EQ(analysers.Correlation(), 1.0f);
  EXPECT_EQ(analysers.Hold(), held);
  EXPECT_LT(analysers.Average(), 1.0f);

  phase().ResetCorrelationMinHold();
  phase().ResetCorrelationAverage();
  EXPECT_EQ(analysers.Hold(), 1.0f);
  EXPECT_EQ(analysers.Average(), 1.0f);
}

TEST_F(PhaseService, ResetHandsReadyBuffersBackAndKeepsTheOneBeingFilled) {
  const std::vector<float> a = Tone(3000, 0.5f, 0.0f), b = Tone(3000, -0.5f, 0.0f);
  Run(a, b);
  ASSERT_EQ(ReadyCount(), 1);
  const float correlationBefore = analysers.Correlation();
  ASSERT_EQ(correlationBefore, -1.0f);
  const float hold = analysers.Hold();
  phase().Reset();
  EXPECT_EQ(ReadyCount(), 0);
  EXPECT_EQ(analysers.Correlation(), 1.0f);
  EXPECT_EQ(analysers.Hold(), hold);
  // The partly filled buffer completes with 2048 - 952 more frames.
  const std::vector<float> rest = Tone(2048 - 952, 0.5f, 0.0f);
  Run(rest, rest);
  ASSERT_EQ(ReadyCount(), 1);
  std::vector<ScopeBuffer*> ready;
  phase().CollectReadyScopeBuffers(ready);
  EXPECT_EQ(ready[0]->sequence.load(), 1u);
  EXPECT_EQ(ready[0]->first[0], a[2048]);
}

TEST_F(PhaseService, SetupNeverReallocatesTheScopeBuffers) {
  const std::vector<float> a = Tone(2048, 0.5f, 0.0f);
  Run(a, a);
  std::vector<ScopeBuffer*> before;
  phase().CollectReadyScopeBuffers(before);
  ASSERT_EQ(before.size(), 1u);
  analysers.Setup(96000.0f);
  EXPECT_EQ(ReadyCount(), 0);
  Run(a, a);
  std::vector<ScopeBuffer*> after;
  phase().CollectReadyScopeBuffers(after);
  ASSERT_EQ(after.size(), 1u);
  EXPECT_EQ(after[0], before[0]) << "same storage, set back as built";
}

}  // namespace
