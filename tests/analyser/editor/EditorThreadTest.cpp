// The editor's frames tick and draw on one thread while audio runs on a second and the host
// suspends, resumes, changes the sample rate and restores chunks on a third. The host's calls
// and the editor's idle exclude each other as the instance mutex makes them do in the plug-in.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/analyser/editor/support/EditorFixture.h"

namespace {

TEST(EditorThread, FramesFollowAudioWhileTheHostResetsAndRebuildsTheServices) {
  EditorFixture f;
  f.plugin.CreateEditorFrame(&f.root);
  f.Config().SetLowLevelGate(false, true);
  void* data = nullptr;
  const std::int32_t size = f.plugin.GetChunk(&data, false);
  ASSERT_GT(size, 0);
  const std::string chunk(static_cast<const char*>(data), static_cast<size_t>(size));

  std::mutex instance;  // what the adapter's instance mutex is to these calls
  std::atomic<bool> done{false};
  std::thread audio([&] {
    constexpr std::int32_t kBlock = 512;
    std::vector<float> left(kBlock), right(kBlock), outLeft(kBlock), outRight(kBlock);
    float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    for (int block = 0; !done.load(); ++block) {
      for (std::int32_t i = 0; i < kBlock; ++i) {
        const float t = float(block * kBlock + i) / 44100.0f;
        left[i] = 0.5f * std::sin(2.0f * 3.14159265f * 300.0f * t);
        right[i] = 0.5f * std::sin(2.0f * 3.14159265f * 450.0f * t);
      }
      f.plugin.Process(inputs, outputs, kBlock, false, 0);
    }
  });
  std::thread host([&] {
    for (int round = 0; round < 60; ++round) {
      std::lock_guard<std::mutex> lock(instance);
      switch (round % 4) {
        case 0:
          f.plugin.Suspend();
          break;
        case 1:
          f.plugin.Resume();
          break;
        case 2:
          f.plugin.SetSampleRate(round % 8 == 2 ? 48000.0f : 44100.0f);
          break;
        case 3:
          f.plugin.SetChunk(chunk.data(), static_cast<std::int32_t>(chunk.size()), false);
          break;
      }
    }
  });
  for (int tick = 0; tick < 300; ++tick) {
    std::lock_guard<std::mutex> lock(instance);
    TickAllFrames(*f.root.GetRootFrame());
    f.root.Flush();
  }
  host.join();
  done.store(true);
  audio.join();
  std::vector<ScopeBuffer*> ready;
  f.Phase().CollectReadyScopeBuffers(ready);
  EXPECT_LE(ready.size(), 5u);
}

}  // namespace
