// The editor opened and closed again and again in a real X window while the audio thread
// processes and another host thread restores chunks and switches programs, and the editors of
// several instances at once. Runs under ASan and TSan: nothing the editor shares with those
// threads may race.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/platform/TestDisplay.h"
#include "tests/platform/XvfbServer.h"
#include "tests/plugin/RunningHost.h"
#include "tests/vsthost/Chunks.h"

namespace {

TEST(EditorThreads, OpenAndCloseFiftyTimesWhileAudioRunsAndChunksAndProgramsChange) {
  XvfbServer server;
  ASSERT_FALSE(server.Display().empty());
  setenv("DISPLAY", server.Display().c_str(), 1);
  Display display(server.Display());
  const xcb_window_t parent = display.Parent(24, 0, 0, 220, 120);

  RunningHost running(TESTPRODUCT_PATH);
  ASSERT_TRUE(running.started);
  vsthost::Host& host = running.host;
  const std::string bank = vsthost::GetChunk(host, false);
  std::atomic<bool> stop{false};
  std::atomic<int> blocks{0};
  std::thread audio([&] {
    std::vector<float> left(256, 0.1f), right(256, -0.1f), outLeft(256), outRight(256);
    while (!stop.load()) {
      float* inputs[] = {left.data(), right.data()};
      float* outputs[] = {outLeft.data(), outRight.data()};
      host.ProcessReplacing(inputs, outputs, 256);
      blocks.fetch_add(1);
    }
  });
  std::thread state([&] {
    for (int i = 0; !stop.load(); ++i) {
      vsthost::SetChunk(host, bank, false);
      host.Dispatch(effSetProgram, 0, i % 4);
    }
  });

  int opened = 0;
  for (int i = 0; i < 50; ++i) {
    opened += host.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(std::uintptr_t{parent})) == 1;
    for (int idle = 0; idle < 5; ++idle) host.Dispatch(effEditIdle);
    host.Dispatch(effEditClose);
  }
  stop.store(true);
  audio.join();
  state.join();
  EXPECT_EQ(opened, 50);
  EXPECT_GT(blocks.load(), 0);
}

// Each editor has its own connection to the display, made and closed on its instance's thread.
TEST(EditorThreads, FourInstancesOpenAndCloseTheirEditorsAtOnceOnTheirOwnThreads) {
  XvfbServer server;
  ASSERT_FALSE(server.Display().empty());
  setenv("DISPLAY", server.Display().c_str(), 1);
  // The authority file is then found from HOME, its name kept in one buffer of the process.
  unsetenv("XAUTHORITY");
  Display display(server.Display());
  vsthost::PluginLibrary library(TESTPRODUCT_PATH);
  constexpr int kInstances = 4, kRounds = 25;
  std::vector<std::unique_ptr<vsthost::Host>> hosts;
  std::vector<xcb_window_t> parents;
  for (int i = 0; i < kInstances; ++i) {
    hosts.push_back(std::make_unique<vsthost::Host>(library));
    ASSERT_NE(hosts.back()->Instantiate(), nullptr);
    parents.push_back(display.Parent(24, static_cast<std::int16_t>(230 * i), 0, 220, 120));
  }
  std::atomic<int> ready{0};
  std::atomic<int> opened{0};
  std::vector<std::thread> threads;
  for (int i = 0; i < kInstances; ++i) {
    threads.emplace_back([&, i] {
      vsthost::Host& host = *hosts[static_cast<size_t>(i)];
      void* parent = reinterpret_cast<void*>(std::uintptr_t{parents[static_cast<size_t>(i)]});
      ready.fetch_add(1);
      while (ready.load() < kInstances) std::this_thread::yield();
      for (int round = 0; round < kRounds; ++round) {
        opened.fetch_add(host.Dispatch(effEditOpen, 0, 0, parent) == 1);
        for (int idle = 0; idle < 3; ++idle) host.Dispatch(effEditIdle);
        host.Dispatch(effEditClose);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(opened.load(), kInstances * kRounds);
}

}  // namespace
