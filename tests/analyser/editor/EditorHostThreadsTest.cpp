// The analyser's editor idling in a real X window while audio runs on one thread and the host
// suspends, resumes, changes the sample rate and restores chunks on another. Runs under ASan and
// TSan: the scope's buffers, the meters' readings and the services' rebuilds must not race.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "tests/platform/TestDisplay.h"
#include "tests/platform/XvfbServer.h"
#include "tests/vsthost/Chunks.h"
#include "tests/vsthost/VstHost.h"

namespace {

TEST(AnalyserEditorThreads, IdlesWhileAudioRunsAndTheHostResetsAndRebuildsTheServices) {
  XvfbServer server;
  ASSERT_FALSE(server.Display().empty());
  setenv("DISPLAY", server.Display().c_str(), 1);
  Display display(server.Display());
  const xcb_window_t parent = display.Parent(24, 0, 0, 399, 470);

  vsthost::PluginLibrary library(VARNIS_PATH);
  vsthost::Host host(library);
  ASSERT_NE(host.Instantiate(), nullptr);
  host.Dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
  host.Dispatch(effSetBlockSize, 0, 256);
  host.Dispatch(effMainsChanged, 0, 1);
  const std::string bank = vsthost::GetChunk(host, false);
  ASSERT_EQ(host.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(std::uintptr_t{parent})), 1);

  std::atomic<bool> stop{false};
  std::atomic<int> blocks{0};
  std::thread audio([&] {
    std::vector<float> left(256), right(256), outLeft(256), outRight(256);
    for (int block = 0; !stop.load(); ++block) {
      for (int i = 0; i < 256; ++i) {
        const float t = float(block * 256 + i) / 44100.0f;
        left[i] = 0.5f * std::sin(2.0f * 3.14159265f * 330.0f * t);
        right[i] = 0.5f * std::sin(2.0f * 3.14159265f * 495.0f * t);
      }
      float* inputs[] = {left.data(), right.data()};
      float* outputs[] = {outLeft.data(), outRight.data()};
      host.ProcessReplacing(inputs, outputs, 256);
      blocks.fetch_add(1);
    }
  });
  std::thread state([&] {
    for (int i = 0; !stop.load(); ++i) {
      host.Dispatch(effMainsChanged, 0, 0);
      host.Dispatch(effSetSampleRate, 0, 0, nullptr, i % 2 ? 48000.0f : 44100.0f);
      host.Dispatch(effMainsChanged, 0, 1);
      vsthost::SetChunk(host, bank, false);
      std::this_thread::sleep_for(std::chrono::milliseconds(3));
    }
  });

  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
  while (std::chrono::steady_clock::now() < until) {
    host.Dispatch(effEditIdle);
    std::this_thread::sleep_for(std::chrono::milliseconds(4));
  }
  stop.store(true);
  audio.join();
  state.join();
  EXPECT_EQ(host.Dispatch(effEditClose), 0);
  EXPECT_GT(blocks.load(), 0);
}

}  // namespace
