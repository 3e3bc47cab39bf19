// The editor's root frame as the plug-in object makes it, and the layout of its strips.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "analyser/editor/main/KorvaneGenericDrawFrame.h"
#include "analyser/editor/main/KorvaneMainFrame.h"
#include "analyser/resources/BitmapInventory.h"
#include "tests/analyser/editor/support/EditorFixture.h"
#include "toolkit/drawing/BitmapStore.h"

namespace {

std::uint32_t BitmapPixel(std::int32_t id, std::int32_t x, std::int32_t y) {
  const BitmapResource* b = FindBitmapResource(id);
  return b->pixels[y * b->width + x];
}

TEST(EditorSize, IsTheLayoutsInEveryChannelConfiguration) {
  StubPlatform platform;
  for (const IOConfig& io : {IOConfig{1, 1}, IOConfig{2, 2}, IOConfig{1, 2}}) {
    Korvane plugin(&platform, io);
    std::int32_t width = 0, height = 0;
    plugin.GetEditorSize(width, height);
    EXPECT_EQ(width, 399);
    EXPECT_EQ(height, 470);
  }
}

TEST(MainFrame, ThePluginBuildsItInTheEditorRootWithFourTouchingStrips) {
  EditorFixture f;
  Frame* main = f.plugin.CreateEditorFrame(&f.root);
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(main->GetParent(), f.root.GetRootFrame());
  EXPECT_EQ(main->GetWidth(), 399);
  EXPECT_EQ(main->GetHeight(), 470);
  std::vector<std::pair<std::int32_t, std::int32_t>> rows;
  for (const Frame* strip : main->GetChildren()) {
    EXPECT_EQ(strip->GetX(), 0);
    EXPECT_EQ(strip->GetWidth(), 399);
    rows.emplace_back(strip->GetY(), strip->GetY() + strip->GetHeight());
  }
  EXPECT_EQ(rows,
            (std::vector<std::pair<std::int32_t, std::int32_t>>{{0, 24}, {24, 393}, {393, 434}, {434, 470}}));

  f.root.Flush();
  EXPECT_EQ(f.root.Pixel(200, 10), BitmapPixel(bitmaps::kPanel, 200, 497 + 10)) << "header";
  EXPECT_EQ(f.root.Pixel(230, 24 + 300), BitmapPixel(bitmaps::kPanel, 230, 300)) << "panel";
  EXPECT_EQ(f.root.Pixel(200, 400), bitmaps::colour::kStripFill) << "master-alarm strip";
  EXPECT_EQ(f.root.Pixel(0, 400), bitmaps::colour::kStripOutline);
  EXPECT_EQ(f.root.Pixel(200, 450), bitmaps::colour::kStripFill) << "global strip";
}

TEST(MainFrame, NoFrameForARootThatIsNoEditorRoot) {
  class OtherRoot : public PluginUIRootInterface {
   public:
    bool IsOpen() const override { return true; }
    bool ShowError(const char*, const char*, std::int32_t, std::int32_t) override { return false; }
  } other;
  EditorFixture f;
  EXPECT_EQ(f.plugin.CreateEditorFrame(&other), nullptr);
  EXPECT_EQ(f.plugin.CreateEditorFrame(nullptr), nullptr);
}

TEST(MainFrame, TheAboutPageCoversTheEditorWithItsPicture) {
  EditorFixture f;
  Frame* main = f.plugin.CreateEditorFrame(&f.root);
  f.root.ShowPage(main);
  Frame* about = f.plugin.CreateAboutFrame(&f.root);
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(about->GetWidth(), 399);
  EXPECT_EQ(about->GetHeight(), 470);
  f.root.ShowPage(about);
  f.root.Flush();
  // The picture, 285 x 205, centred.
  const std::int32_t left = (399 - 285) / 2, top = (470 - 205) / 2;
  EXPECT_EQ(f.root.Pixel(left + 100, top + 100), BitmapPixel(bitmaps::kAbout, 100, 100));
  f.root.SavePicture("about");
}

TEST(MainFrame, TheEditorCompanionListensOnThePluginsClass) {
  EditorFixture f;
  EXPECT_EQ(f.plugin.GetSubscriberCount(Korvane::kEditorMessageClass), 1);
}

TEST(GenericDrawFrame, ShowsItsBitmapFromTheSourcePoint) {
  EditorFixture f;
  new KorvaneGenericDrawFrame(f.root.GetRootFrame(), 10, 20, 30, 5, 233, 87, bitmaps::kMeterScales);
  f.root.Flush();
  for (const auto& [x, y] : {std::pair{0, 0}, std::pair{29, 4}, std::pair{15, 2}})
    EXPECT_EQ(f.root.Pixel(10 + x, 20 + y), BitmapPixel(bitmaps::kMeterScales, 233 + x, 87 + y));
  EXPECT_EQ(f.root.Pixel(40, 20), 0u) << "nothing beyond the frame";
}

// The whole editor following a signal, for people to look at.
TEST(MainFrame, FollowsASignal) {
  EditorFixture f;
  f.plugin.CreateEditorFrame(&f.root);
  f.root.Flush();
  std::vector<float> left(2048), right(2048);
  for (int tick = 0; tick < 30; ++tick) {
    for (std::int32_t i = 0; i < 2048; ++i) {
      const float t = float(tick * 2048 + i) / 44100.0f;
      left[i] = 0.6f * std::sin(2.0f * 3.14159265f * 440.0f * t);
      right[i] = 0.3f * std::sin(2.0f * 3.14159265f * 440.0f * t + 0.6f);
    }
    f.Feed(left, right);
    TickAllFrames(*f.root.GetRootFrame());
    f.root.Flush();
  }
  f.root.SavePicture("editor-under-signal");
}

}  // namespace
