// The audio engine's set-up of the plug-in and its per-block work.
#include "host/audio/HostEngine.h"
#include "tests/host/RecorderLog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

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

std::vector<float> first(const float* values, int count) { return {values, values + count}; }

TEST(HostEngine, FeedsClippedSamplesAndCopiesThePluginsOutputBack) {
  EngineGuard guard;
  HostEngine& engine = HostEngine::instance();
  ASSERT_TRUE(engine.start(recorder_path("recorder").c_str()));
  TvMultimeterPlugin* plugin = engine.plugin();
  ASSERT_NE(plugin, nullptr);
  StereoBlockBuffer block(3);
  const float left[] = {2.0f, 0.5f, -3.0f};
  const float right[] = {-1.5f, 0.25f, 1.0f};
  block.set_left(left);
  block.set_right(right);

  clear_recorded_calls();
  engine.feed_plugin_clipped(&block, plugin);
  EXPECT_EQ(first(plugin->left_input(), 3), (std::vector<float>{1.0f, 0.5f, -1.0f}));
  EXPECT_EQ(first(plugin->right_input(), 3), (std::vector<float>{-1.0f, 0.25f, 1.0f}));
  ASSERT_EQ(recorded_calls().size(), 1u);
  EXPECT_EQ(recorded_calls()[0].frames, 3);

  // The recorder passes its inputs to its outputs; a block longer than the buffers gets what they
  // hold and silence after it.
  StereoBlockBuffer out(1000);
  std::fill_n(out.left(), 1000, 7.0f);
  engine.copy_plugin_output(&out, plugin);
  EXPECT_EQ(first(out.left(), 4), (std::vector<float>{1.0f, 0.5f, -1.0f, 0.0f}));
  EXPECT_EQ(first(out.right(), 3), (std::vector<float>{-1.0f, 0.25f, 1.0f}));
  EXPECT_EQ(first(out.left() + 960, 40), std::vector<float>(40, 0.0f));
  engine.copy_plugin_output(nullptr, plugin);
  engine.copy_plugin_output(&out, nullptr);
  engine.feed_plugin_clipped(nullptr, plugin);
  EXPECT_EQ(recorded_calls().size(), 1u);
}

}  // namespace
