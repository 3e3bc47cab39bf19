// The audio path on one thread while the editor side attaches, detaches and reads on another.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <memory>
#include <thread>
#include <vector>

#include "Analysers.h"
#include "analyser/engine/services/ScopeBuffer.h"
#include "framework/core/AudioGate.h"

namespace {

struct PhaseFrame : KorvaneServiceClient<KorvanePhaseService> {};
struct BalanceFrame : KorvaneServiceClient<KorvaneBalanceService> {};

TEST(ServicesThread, EditorComesAndGoesWhileAudioRuns) {
  Analysers analysers;
  analysers.Setup(48000.0f);
  constexpr int kBlock = 480;
  std::vector<float> a(kBlock * 10), b(a.size());
  for (std::size_t i = 0; i < a.size(); ++i) {
    a[i] = 0.5f * std::sin(0.01f * static_cast<float>(i));
    b[i] = -a[i];
  }
  a[17] = std::numeric_limits<float>::quiet_NaN();
  b[17] = std::numeric_limits<float>::quiet_NaN();

  // Audio runs until the editor side is done with its rounds, and those go on while it runs:
  // however fast either side is, they overlap.
  std::atomic<bool> editorDone{false};
  std::atomic<int> blocks{0};
  std::thread audio([&] {
    for (int block = 0; block < 6000 || !editorDone.load(); ++block) {
      const std::size_t offset = static_cast<std::size_t>(block % 10) * kBlock;
      analysers.Process(a.data() + offset, b.data() + offset, kBlock);
      blocks.store(block + 1);
    }
  });

  KorvanePhaseService& phase = analysers.Phase();
  KorvaneBalanceService& balance = analysers.Balance();
  std::vector<ScopeBuffer*> ready;
  std::vector<float> history;
  int buffersSeen = 0;
  bool mismatch = false;
  for (int round = 0; round < 100000 && (round < 50 || buffersSeen == 0 || blocks.load() < 6000); ++round) {
    {
      auto frame = std::make_unique<PhaseFrame>();
      BalanceFrame balanceFrame;
      frame->AttachToService(analysers.List());
      balanceFrame.AttachToService(analysers.List());
      frame->SetActive(round % 3 != 0);
      auto midPeak = balance.GetMidPeakMeter().AddReader();
      auto sideAverage = balance.GetSideAverageMeter().AddReader();
      midPeak->SetHoldTicks(round % 2);
      EXPECT_LE(midPeak->ReadDb(), 1.0f);
      EXPECT_LE(sideAverage->ReadDbFalling(), 1.0f);

      if (phase.CollectReadyScopeBuffers(ready)) {
        for (ScopeBuffer* buffer : ready) {
          for (int k = 0; k < ScopeBuffer::kFrames; ++k) mismatch |= buffer->first[k] != -buffer->second[k];
          buffer->Release();
          ++buffersSeen;
        }
      }
      EXPECT_GE(phase.GetCorrelation(), -1.0f);
      EXPECT_LE(phase.GetCorrelationMinHold(), 1.0f);
      if (round % 7 == 0) {
        phase.ResetCorrelationMinHold();
        phase.ResetCorrelationAverage();
        balance.ResetBalancePeak();
      }
      EXPECT_TRUE(std::isfinite(balance.ReadBalanceHistory(&history)));
      EXPECT_TRUE(std::isfinite(phase.GetCorrelationAverage()));
      phase.GetPhaseConfig()->SetPhaseScopeEnabled(round % 5 != 0, true);
      if (round % 2 == 0) frame.reset();  // the other one goes at the end of the scope
    }
    std::this_thread::yield();
  }
  editorDone.store(true);
  audio.join();
  EXPECT_FALSE(mismatch) << "a ready buffer showed samples of another fill";
  EXPECT_GT(buffersSeen, 0);
  EXPECT_EQ(phase.GetClientCount(), 0u);
  EXPECT_EQ(phase.GetCorrelation(), -1.0f);
}

}  // namespace

namespace {

// The audio thread fills buffers; the drawing thread reads every ready buffer and hands it back;
// a third thread suspends (pauses the audio and resets the pool) again and again. A buffer the
// reader holds must stay ready, with the samples it had, until the reader itself hands it back.
TEST(ServicesThread, ScopeBuffersStayWithTheReaderAcrossSuspends) {
  ScopeBufferPool pool;
  AudioGate gate;
  std::atomic<bool> stop{false};
  std::atomic<int> taken{0};
  std::atomic<int> collected{0};
  std::thread audio([&] {
    std::vector<float> block(256);
    for (int k = 1; !stop.load(); ++k) {
      std::fill(block.begin(), block.end(), static_cast<float>(k % 1000) / 1000.0f);
      AudioGate::Entry entry(gate);
      if (entry.Entered()) pool.Fill(block.data(), block.data(), static_cast<std::int32_t>(block.size()));
    }
  });
  std::thread drawing([&] {
    std::vector<ScopeBuffer*> ready;
    while (!stop.load()) {
      pool.CollectReady(ready);
      for (ScopeBuffer* buffer : ready) {
        const std::uint32_t sequence = buffer->sequence.load();
        float sum = 0.0f;
        for (std::int32_t i = 0; i < ScopeBuffer::kFrames; ++i) sum += buffer->first[i] + buffer->second[i];
        std::this_thread::yield();
        if (!buffer->IsReady() || buffer->sequence.load() != sequence || !std::isfinite(sum))
          taken.fetch_add(1);
        buffer->Release();
        buffer->Release();  // a second hand-back changes nothing
        collected.fetch_add(1);
      }
    }
  });
  while (collected.load() < 300) {
    {
      auto pause = gate.PauseOrThrow();
      pool.HandBackReady();
    }
    std::this_thread::sleep_for(std::chrono::microseconds(50));
  }
  stop.store(true);
  audio.join();
  drawing.join();
  EXPECT_EQ(taken.load(), 0);
}

}  // namespace
