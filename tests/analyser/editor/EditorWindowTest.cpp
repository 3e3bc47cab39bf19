// The analyser's editor in a real X window on a private Xvfb: a host loads libvarnis with
// dlopen, opens the editor in a window of its own, plays known signals through processReplacing
// and idles the editor until the scope shows them at the pixels they belong on.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "tests/platform/TestDisplay.h"
#include "tests/platform/XvfbServer.h"
#include "tests/support/TemporaryConfig.h"
#include "tests/vsthost/Chunks.h"
#include "tests/vsthost/VstHost.h"

namespace {

constexpr std::uint32_t kGreen = 0x00FF00;

class AnalyserEditorWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(server.Display().empty());
    setenv("DISPLAY", server.Display().c_str(), 1);
    display = std::make_unique<Display>(server.Display());
    host = std::make_unique<vsthost::Host>(library);
    ASSERT_NE(host->Instantiate(), nullptr);
    host->Dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
    host->Dispatch(effSetBlockSize, 0, 512);
    host->Dispatch(effMainsChanged, 0, 1);
  }
  void TearDown() override {
    if (host) host->Dispatch(effEditClose);
    host.reset();
    display.reset();
  }

  void Configure(const std::vector<std::pair<std::string, std::string>>& attributes) {
    std::string settings = vsthost::GetChunk(*host, true);
    for (const auto& [name, value] : attributes) {
      ASSERT_NE(settings.find("name=\"" + name + "\""), std::string::npos) << name;
      settings = vsthost::WithAttribute(settings, name, value);
    }
    ASSERT_EQ(vsthost::SetChunk(*host, settings, true), 1);
  }
  void Open() {
    parent = display->Parent(24, 0, 0, 399, 470);
    ASSERT_EQ(host->Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(std::uintptr_t{parent})), 1);
  }
  // Plays blocks of the signal and idles until the editor shows the colour at (x, y), or three
  // seconds pass.
  bool PlayUntilPixel(float left, float right, std::int16_t x, std::int16_t y, std::uint32_t colour) {
    std::vector<float> l(512, left), r(512, right), outL(512), outR(512);
    float* inputs[2] = {l.data(), r.data()};
    float* outputs[2] = {outL.data(), outR.data()};
    for (int i = 0; i < 300; ++i) {
      host->ProcessReplacing(inputs, outputs, 512);
      host->Dispatch(effEditIdle);
      const std::vector<std::uint32_t> shown = display->Image(parent, x, y, 1, 1);
      if (!shown.empty() && (shown[0] & 0x00FFFFFF) == colour) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }
  // Idles until done() holds, or three seconds pass.
  template <typename Done>
  bool IdleUntil(Done done) {
    for (int i = 0; i < 300; ++i) {
      host->Dispatch(effEditIdle);
      if (done()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }
  void Screenshot(const std::string& name) {
    std::system(("import -display " + server.Display() + " -window root -crop 399x470+0+0 " + ARTEFACT_DIR +
                 "/" + name + " 2>/dev/null")
                    .c_str());
  }

  XvfbServer server;
  std::unique_ptr<Display> display;
  vsthost::PluginLibrary library{VARNIS_PATH};
  std::unique_ptr<vsthost::Host> host;
  xcb_window_t parent = 0;
};

TEST_F(AnalyserEditorWindow, XYPlotPutsLeftUpAndRightAcross) {
  Configure({{"mPlotType", "typeXY"}, {"mAutoGain", "false"}, {"mGainDb", "0"}});
  Open();
  EXPECT_TRUE(PlayUntilPixel(0.5f, 0.25f, 134, 163, kGreen));
}

TEST_F(AnalyserEditorWindow, PolarPointsPutTheRightChannelAtAngleZeroAndSilenceOnTheRimAtPi) {
  Configure({{"mPolarPlotStyle", "ppsPoints"}, {"mAutoGain", "false"}, {"mGainDb", "0"}});
  Open();
  EXPECT_TRUE(PlayUntilPixel(0.0f, 1.0f, 135, 226, kGreen));
  EXPECT_TRUE(PlayUntilPixel(0.0f, 0.0f, 12, 226, kGreen));
}

// The whole editor following a signal; the screenshot is kept for people to look at.
TEST_F(AnalyserEditorWindow, FollowsASignal) {
  Open();
  std::vector<float> l(512), r(512), outL(512), outR(512);
  float* inputs[2] = {l.data(), r.data()};
  float* outputs[2] = {outL.data(), outR.data()};
  for (int block = 0; block < 200; ++block) {
    for (int i = 0; i < 512; ++i) {
      const float t = float(block * 512 + i) / 44100.0f;
      l[i] =
          0.6f * std::sin(2.0f * 3.14159265f * 440.0f * t) + 0.1f * std::sin(2.0f * 3.14159265f * 97.0f * t);
      r[i] = 0.45f * std::sin(2.0f * 3.14159265f * 440.0f * t + 0.5f);
    }
    host->ProcessReplacing(inputs, outputs, 512);
    host->Dispatch(effEditIdle);
    std::this_thread::sleep_for(std::chrono::milliseconds(12));
  }
  Screenshot("analyser-editor.png");
  // The scope's rays have left the rim near mono in phase (top); the header is its picture.
  bool lit = false;
  for (std::int16_t y = 112 + 20; y < 112 + 110 && !lit; ++y) {
    const std::vector<std::uint32_t> shown = display->Image(parent, 109, y, 1, 1);
    lit = !shown.empty() && (shown[0] & 0x00FFFFFF) == kGreen;
  }
  EXPECT_TRUE(lit);
}

// A fresh install's store names no default settings folder: Shift with the header's icons saves
// the settings beside the store and loads them back, and the next instance opens with them.
TEST_F(AnalyserEditorWindow, DefaultSettingsOnAFreshInstallAreSavedBesideTheStoreAndLoadedOnOpen) {
  const TemporaryConfig config;
  const std::filesystem::path file = config.user / "quillmore" / "KVN Stereo Analyzer (OrbA).default";
  const auto plotType = [](vsthost::Host& instance) {
    const std::string chunk = vsthost::GetChunk(instance, true);
    const size_t at = chunk.find("name=\"mPlotType\"");
    const size_t from = chunk.find('>', at) + 1;
    return at == std::string::npos ? std::string() : chunk.substr(from, chunk.find('<', from) - from);
  };
  const auto pixel = [this](std::int16_t x, std::int16_t y) {
    const std::vector<std::uint32_t> shown = display->Image(parent, x, y, 1, 1);
    return shown.empty() ? 0u : shown[0] & 0x00FFFFFF;
  };
  Configure({{"mPlotType", "typeXYCentered"}});
  Open();
  ASSERT_TRUE(IdleUntil([&] { return pixel(1, 1) != 0; }));  // drawn, the header's icons with it
  const std::uint32_t underNotice = pixel(199, 235);
  display->ShiftClick(399 - 22 + 7, 12);  // save
  ASSERT_TRUE(IdleUntil([&] { return std::filesystem::exists(file); }));
  EXPECT_TRUE(IdleUntil([&] { return pixel(199, 235) != underNotice; }));  // "Default settings saved."
  Screenshot("analyser-default-settings-saved.png");
  EXPECT_FALSE(std::filesystem::exists(config.UserStore())) << "the folder is not written into the store";
  display->Click(199, 235);  // dismisses the notice
  EXPECT_TRUE(IdleUntil([&] { return pixel(199, 235) == underNotice; }));
  Configure({{"mPlotType", "typePolar"}});
  display->ShiftClick(399 - 36 + 7, 12);  // load
  EXPECT_TRUE(IdleUntil([&] { return plotType(*host) == "typeXYCentered"; }));
  host->Dispatch(effEditClose);

  vsthost::Host next(library);
  ASSERT_NE(next.Instantiate(), nullptr);
  EXPECT_EQ(plotType(next), "typePolar");
  next.Dispatch(effOpen);
  EXPECT_EQ(plotType(next), "typeXYCentered");
}

}  // namespace
