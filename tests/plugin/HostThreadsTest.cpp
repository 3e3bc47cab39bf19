#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "tests/plugin/RunningHost.h"
#include "tests/vsthost/Chunks.h"
#include "tests/vsthost/VstHost.h"

namespace {

// A name long enough to live on the heap, so a copy racing its replacement is seen by ASan.
std::string LongName(int program, char variant) {
  return std::string(40, variant) + " program " + std::to_string(program);
}

// The effect's bank with every program renamed after the variant.
std::string BankNamed(vsthost::Host& host, char variant) {
  const std::int32_t programs = host.Effect()->numPrograms;
  for (std::int32_t p = 0; p < programs; ++p) {
    host.Dispatch(effSetProgram, 0, p);
    std::string name = LongName(p, variant).substr(0, kVstMaxProgNameLen - 1);
    host.Dispatch(effSetProgramName, 0, 0, name.data());
  }
  host.Dispatch(effSetProgram, 0, 0);
  return vsthost::GetChunk(host, false);
}

// Three host threads at once: the audio thread; a thread that restores chunks, switches
// programs, suspends, resumes and reconfigures; a thread that reads names, parameters and
// programs. Runs under ASan and TSan: no copy may race a replacement, no value may be shared
// without an atomic or the instance mutex.
void RaceThreeHostThreads(const char* path) {
  RunningHost running(path);
  ASSERT_TRUE(running.started);
  vsthost::Host& host = running.host;
  const std::string banks[] = {BankNamed(host, 'a'), BankNamed(host, 'b')};
  const std::string preset = vsthost::GetChunk(host, true);
  const std::int32_t programs = host.Effect()->numPrograms;
  const std::int32_t parameters = host.Effect()->numParams;

  std::atomic<bool> stop{false};
  std::atomic<int> blocks{0};
  std::atomic<int> reads{0};
  std::atomic<int> badNames{0};
  std::thread audio([&] {
    std::vector<float> left(512), right(512), outLeft(512), outRight(512);
    for (int i = 0; !stop.load(); ++i) {
      const std::int32_t frames = 1 + (i * 131) % 256;
      for (std::int32_t f = 0; f < frames; ++f) left[f] = right[f] = 0.25f * std::sin(0.01f * f);
      float* inputs[] = {left.data(), right.data()};
      float* outputs[] = {outLeft.data(), outRight.data()};
      host.ProcessReplacing(inputs, outputs, frames);
      if (parameters > 0) host.SetParameter(i % parameters, (i % 2) ? 1.0f : 0.0f);
      blocks.fetch_add(1);
    }
  });
  std::thread reader([&] {
    while (!stop.load()) {
      for (std::int32_t p = 0; p < programs; ++p) {
        const std::string name =
            host.DispatchString(effGetProgramNameIndexed, p, kVstMaxProgNameLen, nullptr);
        if (name != LongName(p, 'a').substr(0, kVstMaxProgNameLen - 1) &&
            name != LongName(p, 'b').substr(0, kVstMaxProgNameLen - 1))
          badNames.fetch_add(1);
      }
      host.DispatchString(effGetProgramName, 0, kVstMaxProgNameLen, nullptr);
      for (std::int32_t i = 0; i < parameters; ++i) {
        host.GetParameter(i);
        host.DispatchString(effGetParamDisplay, i, kVstMaxParamStrLen, nullptr);
      }
      const std::intptr_t program = host.Dispatch(effGetProgram);
      if (program < 0 || program >= programs) badNames.fetch_add(1);
      reads.fetch_add(1);
    }
  });
  while (blocks.load() < 10 || reads.load() < 10) std::this_thread::yield();
  for (int i = 0; i < 200; ++i) {
    vsthost::SetChunk(host, banks[i % 2], false);
    host.Dispatch(effSetProgram, 0, i % programs);
    vsthost::SetChunk(host, preset, true);
    vsthost::GetChunk(host, i % 2 == 0);
    host.Dispatch(effMainsChanged, 0, 0);
    host.Dispatch(effMainsChanged, 0, 1);
    host.Dispatch(effSetSampleRate, 0, 0, nullptr, i % 2 ? 44100.0f : 48000.0f);
    host.Dispatch(effSetBlockSize, 0, 256 + (i % 3) * 128);
    host.Dispatch(effSetBlockSizeAndSampleRate, 0, 512, nullptr, 96000.0f);
  }
  while (blocks.load() < 100 || reads.load() < 100) std::this_thread::yield();
  stop.store(true);
  audio.join();
  reader.join();
  EXPECT_EQ(badNames.load(), 0);
  EXPECT_EQ(host.Close(), 1);
}

TEST(HostThreads, TheAnalyserServesThreeHostThreadsAtOnce) { RaceThreeHostThreads(VARNIS_PATH); }

TEST(HostThreads, AProductWithSeveralProgramsServesThreeHostThreadsAtOnce) {
  RaceThreeHostThreads(TESTPRODUCT_PATH);
}

}  // namespace
