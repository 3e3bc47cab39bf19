// The audio engine's set-up of the plug-in and its per-block work.
#include "host/audio/HostEngine.h"
#include "tests/host/RecorderLog.h"

#include <gtest/gtest.h>

using namespace tolvaran;

namespace {

struct EngineGuard {
  ~EngineGuard() {
    TvMultimeterPlugin* plugin = HostEngine::instance().plugin();
    HostEngine::destroy_instance();
    delete plugin;
  }
};

TEST(HostEngine, SetsThePluginUpAtTheSinkRate) {
  for (double rate : {48000.0, 44100.0}) {
    EngineGuard guard;
    HostEngine& engine = HostEngine::instance();
    EXPECT_EQ(engine.sample_rate(), 48000.0f);
    engine.set_sample_rate(rate);
    clear_recorded_calls();
    ASSERT_TRUE(engine.start(recorder_path("recorder").c_str()));
    std::vector<RecordedCall> sent;
    for (const RecordedCall& call : recorded_calls())
      if (call.kind == kRecorderDispatch) sent.push_back(call);
    const std::vector<int32_t> order = {effOpen,         effGetPlugCategory, effSetSampleRate,
                                        effSetBlockSize, effMainsChanged,    effMainsChanged};
    ASSERT_GE(sent.size(), order.size());
    for (size_t i = 0; i < order.size(); ++i) EXPECT_EQ(sent[i].opcode, order[i]) << i;
    EXPECT_EQ(sent[2].opt, static_cast<float>(rate));
    EXPECT_EQ(sent[3].value, 512);
    EXPECT_EQ(sent[4].value, 0);
    EXPECT_EQ(sent[5].value, 1);
    EXPECT_EQ(engine.plugin()->effect()->user, engine.plugin());
    EXPECT_EQ(engine.plugin()->buffer_length(), 960);
    EXPECT_EQ(engine.transport().sample_rate, rate);
  }
}

TEST(HostEngine, WithoutAPluginBlocksAreDroppedAndStillStamped) {
  for (const char* variant : {"recorder_absent", "recorder_synth"}) {
    EngineGuard guard;
    HostEngine& engine = HostEngine::instance();
    EXPECT_TRUE(engine.start(recorder_path(variant).c_str())) << variant;
    EXPECT_EQ(engine.plugin(), nullptr) << variant;
    engine.start_plugin(nullptr);
    StereoBlockBuffer block(480);
    EXPECT_TRUE(engine.process_captured(&block));
    EXPECT_GT(engine.transport().nanoseconds, 0.0);
    EXPECT_EQ(engine.transport().ppq_position, 0.0);
    EXPECT_TRUE(engine.process_captured(nullptr));
  }
}

}  // namespace
