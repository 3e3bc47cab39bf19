#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "framework/metering/MeteringManager.h"

namespace {

// The audio thread submits peaks 1e6 + k, each followed by a small k. A reader that returns a
// new small k can only have taken an interval holding k alone, so its previous new value must
// be the peak just before it; anything else means a peak held before the read was replaced by
// the smaller value that followed it, and lost.
TEST(MeteringThreads, NoPeakHeldBeforeARaceIsLost) {
  MeteringManager manager(true);
  auto reader = manager.AddReader();
  constexpr int kPairs = 1000000;
  constexpr float kPeak = 1e6f;
  std::atomic<bool> done{false};
  std::thread audio([&] {
    for (int k = 1; k <= kPairs; ++k) {
      manager.SubmitValue(kPeak + static_cast<float>(k));
      manager.SubmitValue(static_cast<float>(k));
    }
    done = true;
  });
  int lost = 0;
  long reads = 0;
  float previous = reader->ReadRaw();
  while (!done.load()) {
    const float value = reader->ReadRaw();
    ++reads;
    if (value == previous) continue;  // nothing new since the last read
    if (value < kPeak && previous != kPeak + value) ++lost;
    previous = value;
  }
  audio.join();
  EXPECT_EQ(lost, 0) << "of " << reads << " reads";
}

}  // namespace
