#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "tests/framework/core/CoreFixture.h"
#include "tests/framework/core/TestDescription.h"

// One thread plays audio while another reconfigures the core and sets parameters: the
// reconfiguration must never rebuild a buffer under the audio hook.
TEST(CoreThreads, ReconfigurationWhileAudioRuns) {
  PluginMetaClassRef metaClass;
  FakePlatform platform;
  HookCore core(&platform);
  const ParameterDescriptor& level = *metaClass->FindParameterDescriptor(kLevelId);
  std::atomic<bool> stop{false};
  std::atomic<int> blocks{0};
  std::thread audio([&] {
    StereoBuffers block(3000, 0.5f, 1.0f);
    for (int i = 0; !stop.load(); ++i) {
      const std::int32_t frames = 1 + (i * 37) % 3000;
      core.Process(block.inputs, block.outputs, frames, i % 2 == 0, i % 3 == 0 ? 1 : 0);
      core.SetParameter(level, static_cast<float>(i % 60) - 50.0f);
      blocks.fetch_add(1);
    }
  });
  for (int i = 0; i < 200; ++i) {
    core.SetBlockSize(16 + (i * 97) % 4096);
    core.SetSampleRate(i % 2 ? 44100.0f : 48000.0f);
    core.SuspendProcessing(true);
    core.SuspendProcessing(false);
    core.DispatchParameterChanges();
    core.ResetProcessing();
  }
  while (blocks.load() < 100) std::this_thread::yield();
  stop.store(true);
  audio.join();
  EXPECT_GE(blocks.load(), 100);
}
