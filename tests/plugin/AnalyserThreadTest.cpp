#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>
#include <vector>

#include "tests/plugin/RunningHost.h"
#include "tests/support/StderrCapture.h"
#include "tests/vsthost/Chunks.h"
#include "tests/vsthost/VstHost.h"

// A host's audio thread plays through the analyser while its user-interface thread reconfigures
// it, restores chunks, suspends and resumes: the audio must pass through untouched whenever the
// plug-in is not suspended, and no data race may exist (this test also runs under TSan).
TEST(AnalyserThreads, AudioRunsWhileTheHostReconfiguresAndRestores) {
  RunningHost running(VARNIS_PATH);
  ASSERT_TRUE(running.started);
  vsthost::Host& host = running.host;
  std::string chunk = vsthost::GetChunk(host, true);
  const std::string xy = [&] {
    std::string text = chunk;
    text.replace(text.find("typePolar</att>"), 9, "typeXY");
    return text;
  }();

  std::atomic<bool> stop{false};
  std::atomic<int> blocks{0};
  std::atomic<int> mismatches{0};
  std::thread audio([&] {
    std::vector<float> left(512), right(512), outLeft(512), outRight(512);
    for (int i = 0; !stop.load(); ++i) {
      const std::int32_t frames = 1 + (i * 131) % 512;
      for (std::int32_t f = 0; f < frames; ++f) {
        left[f] = 0.5f * std::sin(0.01f * static_cast<float>(i * 512 + f));
        right[f] = -left[f] * 0.8f;
      }
      float* inputs[] = {left.data(), right.data()};
      float* outputs[] = {outLeft.data(), outRight.data()};
      host.ProcessReplacing(inputs, outputs, frames);
      // Either passed through or, while a reconfiguration holds the audio off, silence.
      const bool through = outLeft[frames - 1] == left[frames - 1] && outRight[0] == right[0];
      const bool silent = outLeft[frames - 1] == 0.0f && outRight[0] == 0.0f;
      if (!through && !silent) mismatches.fetch_add(1);
      host.SetParameter(0, (i % 2) ? 1.0f : 0.0f);
      blocks.fetch_add(1);
    }
  });
  StderrCapture quiet;
  while (blocks.load() < 10) std::this_thread::yield();
  for (int i = 0; i < 300; ++i) {
    host.Dispatch(effSetSampleRate, 0, 0, nullptr, i % 2 ? 44100.0f : 48000.0f);
    host.Dispatch(effSetBlockSize, 0, 256 + (i % 3) * 128);
    vsthost::SetChunk(host, i % 2 ? xy : chunk, true);
    vsthost::GetChunk(host, false);
    host.Dispatch(effMainsChanged, 0, 0);
    host.Dispatch(effMainsChanged, 0, 1);
    host.Dispatch(effEditIdle);
  }
  while (blocks.load() < 200) std::this_thread::yield();
  stop.store(true);
  audio.join();
  EXPECT_EQ(mismatches.load(), 0);
  EXPECT_EQ(host.Close(), 1);
}
