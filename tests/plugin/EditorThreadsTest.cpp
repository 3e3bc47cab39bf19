// The editor opened and closed again and again in a real X window while the audio thread
// processes and another host thread restores chunks and switches programs. Runs under ASan and
// TSan: nothing the editor shares with those threads may race.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
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

}  // namespace
