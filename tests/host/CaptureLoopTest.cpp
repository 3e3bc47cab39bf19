// The capture thread with a fake source, driving the real engine and the recording plug-in.
#include "host/audio/HostEngine.h"
#include "host/capture/TvSpeakerLoopback.h"
#include "tests/host/FakeCaptureSource.h"
#include "tests/host/RecorderLog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace tolvaran;

namespace {

using Clock = std::chrono::steady_clock;

// An engine hosting the recorder, set up as at start-up; the plug-in is deleted at the end,
// which the program itself never does.
class CaptureLoop : public ::testing::Test {
 protected:
  void SetUp() override {
    HostEngine& engine = HostEngine::instance();
    engine.set_sample_rate(44100.0);
    ASSERT_TRUE(engine.start(recorder_path("recorder").c_str()));
    ASSERT_NE(engine.plugin(), nullptr);
    clear_recorded_calls();
  }
  void TearDown() override {
    TvMultimeterPlugin* plugin = HostEngine::instance().plugin();
    HostEngine::destroy_instance();
    delete plugin;
  }

  // Runs the loop until the source has delivered count packets or ended.
  void capture(FakeCaptureSource* source, int count) {
    TvSpeakerLoopback loopback{std::unique_ptr<CaptureSource>(source)};
    loopback.start_capture();
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (source->delivered() < count && !loopback.isFinished() && Clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    loopback.stop_capture();
    EXPECT_EQ(source->rate(), 44100.0) << "captured at the engine's rate";
  }

  static std::vector<RecordedCall> blocks() {
    std::vector<RecordedCall> out;
    for (const RecordedCall& call : recorded_calls())
      if (call.kind == kRecorderProcessReplacing) out.push_back(call);
    return out;
  }
};

TEST_F(CaptureLoop, PacketsReachThePluginInPiecesThatFitItsBuffers) {
  struct Case {
    int frames;
    std::vector<int32_t> pieces;
  };
  const Case cases[] = {{480, {480}}, {441, {441}}, {1200, {512, 512, 176}}, {2000, {512, 512, 512, 464}}};
  for (const Case& c : cases) {
    clear_recorded_calls();
    auto* source = new FakeCaptureSource;
    source->queue(c.frames, 0.5f, -0.25f);
    capture(source, 1);
    const float* const left = HostEngine::instance().plugin()->left_input();
    const float* const right = HostEngine::instance().plugin()->right_input();
    std::vector<int32_t> pieces;
    for (const RecordedCall& call : blocks()) {
      pieces.push_back(call.frames);
      // Every piece starts the buffers afresh: nothing written past their 960 samples.
      EXPECT_EQ(call.inputs[0], left);
      EXPECT_EQ(call.inputs[1], right);
      EXPECT_DOUBLE_EQ(call.energy[0], 0.25 * call.frames) << c.frames;
      EXPECT_DOUBLE_EQ(call.energy[1], 0.0625 * call.frames) << c.frames;
    }
    EXPECT_EQ(pieces, c.pieces) << c.frames;
  }
}

TEST_F(CaptureLoop, AHoleIsASilentBlockOfItsLength) {
  auto* source = new FakeCaptureSource;
  source->queue(480, 0.9f, 0.9f, /*silent=*/true);
  source->queue(480, 0.5f, 0.5f);
  capture(source, 2);
  const std::vector<RecordedCall> got = blocks();
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].frames, 480);
  EXPECT_EQ(got[0].energy[0], 0.0);
  EXPECT_EQ(got[0].energy[1], 0.0);
  EXPECT_DOUBLE_EQ(got[1].energy[0], 0.25 * 480);
}

TEST_F(CaptureLoop, AFailingPassEndsTheThreadAndClosesTheSource) {
  auto* source = new FakeCaptureSource;
  for (int i = 0; i < 5; ++i) source->queue(480, 0.1f, 0.1f);
  source->fail_at_packet(3);
  TvSpeakerLoopback loopback{std::unique_ptr<CaptureSource>(source)};
  loopback.start_capture();
  EXPECT_TRUE(loopback.wait(5000)) << "the thread ends by itself";
  EXPECT_EQ(source->delivered(), 2);
  EXPECT_EQ(blocks().size(), 2u);
  EXPECT_TRUE(source->closed());
}

TEST_F(CaptureLoop, NoSoundServerIsSaidOnStandardOutputAndEndsTheThread) {
  for (bool at_open : {true, false}) {
    auto* source = new FakeCaptureSource;
    if (at_open)
      source->refuse_open();
    else
      source->fail_connection();
    TvSpeakerLoopback loopback{std::unique_ptr<CaptureSource>(source)};
    testing::internal::CaptureStdout();
    loopback.start_capture();
    EXPECT_TRUE(loopback.wait(5000));
    const std::string said = testing::internal::GetCapturedStdout();
    EXPECT_EQ(said.rfind("Unable to connect to the sound server: ", 0), 0u) << said;
    EXPECT_TRUE(source->closed());
  }
}

TEST_F(CaptureLoop, StoppingDrainsWhatWaitsAndJoinsWithinFiftyMilliseconds) {
  auto* source = new FakeCaptureSource;
  TvSpeakerLoopback loopback{std::unique_ptr<CaptureSource>(source)};
  loopback.start_capture();
  while (source->passes() < 2) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  for (int i = 0; i < 4; ++i) source->queue(480, 0.2f, 0.2f);
  const auto asked = Clock::now();
  loopback.stop_capture();
  const auto took = Clock::now() - asked;
  EXPECT_TRUE(loopback.isFinished());
  EXPECT_LT(took, std::chrono::milliseconds(50));
  EXPECT_EQ(source->delivered(), 4) << "packets waiting when the flag went up are still processed";
  EXPECT_EQ(blocks().size(), 4u);
  EXPECT_TRUE(source->closed());
}

}  // namespace
