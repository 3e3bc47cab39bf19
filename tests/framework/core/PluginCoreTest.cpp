#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "framework/core/BypassStates.h"
#include "framework/services/MessageSubscriber.h"
#include "tests/framework/core/CoreFixture.h"
#include "tests/framework/core/TestDescription.h"

namespace {

class Core : public ::testing::Test {
 protected:
  const ParameterDescriptor& Descriptor(std::int32_t id) { return *metaClass->FindParameterDescriptor(id); }

  PluginMetaClassRef metaClass;
  FakePlatform platform;
  HookCore core{&platform};
};

}  // namespace

TEST(BypassStates, FollowTheTable) {
  const struct {
    std::int32_t start;
    std::vector<std::int32_t> modes;
    std::vector<std::int32_t> states;
  } sequences[] = {
      {0, {1, 1, 0, 0}, {3, 1, 4, 0}},
      {0, {1, 0, 1, 0}, {3, 4, 3, 4}},
      {1, {0, 1}, {4, 3}},
      {2, {0, 1, 0}, {2, 2, 2}},
      {4, {0}, {0}},
      {7, {0}, {0}},
  };
  for (const auto& s : sequences) {
    std::int32_t state = s.start;
    for (size_t i = 0; i < s.modes.size(); ++i) {
      state = NextProcessState(state, s.modes[i]);
      EXPECT_EQ(state, s.states[i]) << "from " << s.start << " step " << i;
    }
  }
}

TEST_F(Core, StepsItsStateOncePerBlock) {
  StereoBuffers block(32, 0.0f, 0.0f);
  const std::int32_t modes[] = {1, 1, 0, 0};
  const std::int32_t states[] = {3, 1, 4, 0};
  for (int i = 0; i < 4; ++i) {
    core.Process(block.inputs, block.outputs, 32, i % 2 == 0, modes[i]);
    EXPECT_EQ(core.lastState.load(), states[i]);
  }
}

TEST_F(Core, SuspendedCallsSilenceReplacingOutputsAndLeaveAccumulatingOnes) {
  StereoBuffers block(16, 0.5f, 7.0f);
  EXPECT_EQ(core.SuspendProcessing(true), 1);
  core.Process(block.inputs, block.outputs, 8, false, 0);
  EXPECT_EQ(block.out[0][7], 0.0f);
  EXPECT_EQ(block.out[1][8], 7.0f);  // exactly the block's frames
  core.Process(block.inputs, block.outputs, 16, true, 0);
  EXPECT_EQ(block.out[1][15], 7.0f);
  EXPECT_EQ(core.hookCalls.load(), 0);
  EXPECT_EQ(core.SuspendProcessing(false), 1);
  EXPECT_EQ(core.SuspendProcessing(false), 0);  // floor
  core.Process(block.inputs, block.outputs, 16, false, 0);
  EXPECT_EQ(core.hookCalls.load(), 1);
}

TEST_F(Core, ModeTwoCopiesEvenWhileSuspendedWithoutTouchingTheState) {
  StereoBuffers block(8, 0.25f, 9.0f);
  core.SuspendProcessing(true);
  core.Process(block.inputs, block.outputs, 8, false, 2);
  EXPECT_EQ(block.out[0][3], 0.25f);
  EXPECT_EQ(core.lastState.load(), -1);
  float* same[2] = {block.in[0].data(), block.in[1].data()};
  core.Process(same, same, 8, false, 2);  // in place: nothing to copy
  EXPECT_EQ(block.in[0][0], 0.25f);
}

TEST_F(Core, AccumulatingCallsAddTheHookOutputToWhatTheOutputsHeld) {
  StereoBuffers block(64, 0.5f, 2.0f);
  core.Process(block.inputs, block.outputs, 64, true, 0);
  EXPECT_EQ(block.out[0][0], 3.5f);
  EXPECT_EQ(block.out[1][63], 3.5f);
}

TEST_F(Core, LongAccumulatingCallsAreSlicedToTheScratchBuffers) {
  core.SetBlockSize(64);
  StereoBuffers block(200, 0.5f, 2.0f);
  core.Process(block.inputs, block.outputs, 200, true, 1);
  EXPECT_EQ(core.largestSlice.load(), 64);
  EXPECT_EQ(core.hookCalls.load(), 4);
  EXPECT_EQ(core.lastState.load(), kStateEnteringBypass);  // one step for the whole call
  for (int c = 0; c < 2; ++c) {
    for (float v : block.out[c]) ASSERT_EQ(v, 3.5f);
  }
  core.SetBlockSize(4096);
  StereoBuffers big(4096, 1.0f, 1.0f);
  core.Process(big.inputs, big.outputs, 4096, true, 0);
  EXPECT_EQ(core.largestSlice.load(), 4096);
  EXPECT_EQ(big.out[1][4095], 3.0f);
}

TEST_F(Core, EmptyOrMalformedBlocksDoNothing) {
  StereoBuffers block(8, 0.5f, 4.0f);
  for (std::int32_t frames : {0, -1, -1000}) core.Process(block.inputs, block.outputs, frames, false, 0);
  float* missing[2] = {block.out[0].data(), nullptr};
  core.Process(block.inputs, missing, 8, false, 0);
  core.Process(nullptr, block.outputs, 8, false, 0);
  EXPECT_EQ(core.hookCalls.load(), 0);
  EXPECT_EQ(block.out[0][0], 4.0f);
}

TEST_F(Core, PrerollAfterAResetDiscardsTheInitialDelay) {
  platform.initialDelay = 100;
  core.ResetProcessing();
  StereoBuffers block(64, 0.5f, 9.0f);
  EXPECT_EQ(core.ProcessWithPreroll(block.inputs, block.outputs, 64, false, 0), 0);
  EXPECT_EQ(block.out[0][0], 9.0f);
  EXPECT_EQ(core.ProcessWithPreroll(block.inputs, block.outputs, 64, false, 0), 28);
  EXPECT_EQ(block.out[0][27], 1.5f);
  EXPECT_EQ(block.out[0][28], 9.0f);
  EXPECT_EQ(core.ProcessWithPreroll(block.inputs, block.outputs, 64, false, 0), 64);
}

TEST_F(Core, ParameterReportsAreClampedAndSentOnlyWhenTheyChange) {
  const ParameterDescriptor& level = Descriptor(kLevelId);
  core.ReportParameterChange(kLevelId, 50.0f, false);
  core.ReportParameterChange(kLevelId, 12.0f, false);
  core.ReportParameterChange(kLevelId, 12.0f, true);
  core.ReportParameterChange(0x0BAD0BAD, 1.0f, true);
  ASSERT_EQ(platform.automated.size(), 2u);
  EXPECT_EQ(platform.automated[0], std::make_pair(level.mIndex, 12.0f));
  // A host change makes the next report go out again.
  core.SetParameter(level, -6.0f);
  core.ReportParameterChange(kLevelId, 12.0f, false);
  EXPECT_EQ(platform.automated.size(), 3u);
}

TEST_F(Core, TheHostsEchoOfAReportIsIgnored) {
  const ParameterDescriptor& level = Descriptor(kLevelId);
  platform.onAutomate = [&](std::int32_t, float) { core.SetParameter(level, -50.0f); };
  core.ReportParameterChange(kLevelId, -3.0f, false);
  EXPECT_EQ(core.GetParameter(level), level.mDefault);
  platform.onAutomate = nullptr;
  core.SetParameter(level, -50.0f);
  EXPECT_EQ(core.GetParameter(level), -50.0f);
}

TEST_F(Core, NoReportsWhileBusyUnlessForced) {
  core.onSampleRate = [&] { core.ReportParameterChange(kLevelId, -1.0f, true); };
  core.SetSampleRate(48000.0f);
  EXPECT_TRUE(platform.automated.empty());
  core.ForceParameterReports(true);
  core.SetSampleRate(96000.0f);
  EXPECT_EQ(platform.automated.size(), 1u);
  core.ForceParameterReports(false);
  core.ForceParameterReports(false);  // floor
  core.onSampleRate = nullptr;
  core.ReportParameterChange(kLevelId, -1.0f, false);
  EXPECT_EQ(platform.automated.size(), 1u);
}

TEST_F(Core, DeliversTheLatestChangeOncePerIdle) {
  const ParameterDescriptor& level = Descriptor(kLevelId);
  const ParameterDescriptor& toggle = Descriptor(kToggleId);
  core.DispatchParameterChanges();
  EXPECT_TRUE(core.delivered.empty());  // nothing before the first host change
  core.SetParameter(level, -10.0f);
  core.SetParameter(level, -20.0f);
  core.SetParameter(toggle, 1.0f);
  core.DispatchParameterChanges();
  EXPECT_EQ(core.delivered,
            (std::vector<std::pair<std::int32_t, float>>{{toggle.mIndex, 1.0f}, {level.mIndex, -20.0f}}));
  core.SetParameter(level, -20.0f);  // equal to the delivered value: counts, delivers nothing
  core.DispatchParameterChanges();
  EXPECT_EQ(core.delivered.size(), 2u);
  core.SetParameter(level, std::nanf(""));
  core.SetParameter(level, 1e9f);
  core.DispatchParameterChanges();
  EXPECT_EQ(core.delivered.back(), std::make_pair(level.mIndex, 12.0f));
}

TEST_F(Core, ProgramsAreNamedAndSwitchedWithinRange) {
  EXPECT_EQ(core.GetProgramNameIndexed(0), "User Config 1");
  EXPECT_EQ(core.GetProgramNameIndexed(1), "User Config 2");
  EXPECT_EQ(core.GetProgramNameIndexed(2), "");
  core.SetProgram(1);
  EXPECT_EQ(core.GetCurrentProgram(), 1);
  core.SetProgram(5);
  core.SetProgram(-1);
  EXPECT_EQ(core.GetProgram(), 1);
  core.SetProgramName("line\rbreak\n");
  EXPECT_EQ(core.GetProgramName(), "line break ");
  core.SetProgramName(nullptr);
  EXPECT_EQ(core.GetProgramNameIndexed(1), "line break ");
}

namespace {

// Hears the core's configuration and clip messages.
class ConfigListener : public MessageSubscriber<ConfigListener> {
 public:
  explicit ConfigListener(PluginCore& core) : MessageSubscriber(&core) {
    Subscribe(core.GetMessageClass(PluginCore::kConfigMessageClass), 1, &ConfigListener::Heard);
    Subscribe(core.GetMessageClass(PluginCore::kClipMessageClass), 2, &ConfigListener::Heard);
  }
  std::int32_t Heard(std::int32_t code) {
    codes.push_back(code);
    return 0;
  }
  std::vector<std::int32_t> codes;
};

}  // namespace

TEST_F(Core, AnnouncesRateAndBlockSizeChangesAndClipClears) {
  ConfigListener listener(core);
  core.SetSampleRate(48000.0f);
  core.SetBlockSize(256);
  core.SendClipClear();
  EXPECT_EQ(listener.codes,
            (std::vector<std::int32_t>{PluginCore::kSampleRateChanged, PluginCore::kBlockSizeChanged,
                                       PluginCore::kClipClear}));
  EXPECT_EQ(core.GetSampleRate(), 48000.0f);
  EXPECT_EQ(core.GetBlockSize(), 256);
}
