// A still picture asks for nothing: once silence has settled the panel, ticks leave the update
// set without any of its moving frames, and a signal that moves them makes each ask again.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "analyser/editor/meters/KVNPhaseCorrelationMeterFrame.h"
#include "analyser/editor/meters/KorvaneBalanceMeterFrame.h"
#include "analyser/editor/panel/KorvanePhaseAndBalanceMeterFrame.h"
#include "analyser/editor/scope/KorvanePhaseFrame.h"
#include "tests/analyser/editor/support/PanelFixture.h"
#include "toolkit/meters/AudioMeter.h"
#include "toolkit/meters/DualLevelAudioMeter.h"

namespace {

struct StillFixture : PanelFixture {
  StillFixture() {
    auto* panel = Find<KorvanePhaseAndBalanceMeterFrame>();
    frames = {{"scope", Find<KorvanePhaseFrame>()},
              {"correlation", Find<KVNPhaseCorrelationMeterFrame>()},
              {"balance", Find<KorvaneBalanceMeterFrame>()},
              {"mid", &panel->GetMidMeter()},
              {"side", &panel->GetSideMeter()},
              {"ratio", &panel->GetRatioMeter()}};
  }
  // Ticks of the signal, each drawn as idle draws; the names of the frames that asked.
  std::map<std::string, int> Run(const std::function<float(std::int64_t)>& left,
                                 const std::function<float(std::int64_t)>& right, int ticks) {
    std::map<std::string, int> asked;
    for (int t = 0; t < ticks; ++t) {
      Play(left, right, 1);
      const std::vector<Frame*>& set = root.GetUpdateSet();
      for (const auto& [name, frame] : frames)
        if (std::find(set.begin(), set.end(), frame) != set.end()) ++asked[name];
      root.Flush();
    }
    return asked;
  }

  std::map<std::string, Frame*> frames;
};

constexpr int kSettleTicks = 12 * 60;  // 12 s: the correlation bar's dim end fades longest

TEST(StillPicture, SettledSilenceAsksForNothingAndASignalMovesEveryFrame) {
  StillFixture f;
  f.root.Flush();
  f.Run(Silence(), Silence(), kSettleTicks);
  EXPECT_EQ(f.Run(Silence(), Silence(), 200), (std::map<std::string, int>{}));
  EXPECT_TRUE(f.root.GetUpdateSet().empty());
  // Partly out of phase and louder on the left, then in phase with less side than mid (the ratio
  // bar shows only a side below the mid): every frame moves.
  auto asked = f.Run(Sine(0.5f), Sine(-0.2f), 120);
  for (const auto& [name, count] : f.Run(Sine(0.5f), Sine(0.2f), 120)) asked[name] += count;
  for (const auto& [name, frame] : f.frames) EXPECT_GT(asked.count(name), 0u) << name;
  // Silence after a loud signal settles again once the slowest release (10 s) has run out.
  int quiet = 0, ticks = 0;
  for (; quiet < 100 && ticks < 60 * 60; ++ticks)
    quiet = f.Run(Silence(), Silence(), 1).empty() ? quiet + 1 : 0;
  EXPECT_EQ(quiet, 100) << "still moving after " << ticks << " ticks";
}

}  // namespace
