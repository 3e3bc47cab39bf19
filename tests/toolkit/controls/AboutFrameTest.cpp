#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/toolkit/support/TestBitmaps.h"
#include "tests/toolkit/support/TestRoot.h"
#include "toolkit/controls/AboutFrame.h"

namespace {

struct Hooks : AboutFrame::Customizer {
  explicit Hooks(std::vector<std::string>* log, bool mayClose = true, bool failAttach = false)
      : log(log), mayClose(mayClose), failAttach(failAttach) {}
  ~Hooks() override { log->push_back("deleted"); }
  void Attach(AboutFrame*) override {
    log->push_back("attach");
    if (failAttach) throw std::runtime_error("attach");
  }
  void Shown(std::int32_t count) override { log->push_back("shown " + std::to_string(count)); }
  bool MayClose(std::int32_t) override { return mayClose; }
  void AfterDraw(AboutFrame*, DrawContext&, bool details) override {
    log->push_back(details ? "drawn details" : "drawn");
  }
  std::vector<std::string>* log;
  bool mayClose;
  bool failAttach;
};

struct AboutFixture : testing::Test {
  TestRoot root{399, 470};
  Frame* page = new PaintFrame(root.GetRootFrame(), 0, 0, 399, 470, 0, 1, Color{0, 0, 0x8080}, nullptr);
  std::vector<std::string> log;
  const Color grey{0x8080, 0x8080, 0x8080};

  AboutFrame* Make(std::unique_ptr<AboutFrame::Customizer> hooks = nullptr) {
    root.ShowPage(page);
    auto* about = new AboutFrame(root.GetRootFrame(), page, &root, kTestBitmapId, 285, 205, "2.4.0", Point{},
                                 "(c) notice", &grey, std::move(hooks));
    root.ShowPage(about);
    return about;
  }
  void Click(AboutFrame* about, bool shift) {
    root.Window().shift = shift;
    about->ProcessMouseEvent(Frame::MouseEvent{Frame::kMouseDown, 100, 100});
    root.Window().shift = false;
  }
};

TEST_F(AboutFixture, ThePictureSitsCentredOnTheEditorsPage) {
  AboutFrame* about = Make();
  EXPECT_EQ(about->GetPictureRect(), (Rect{57, 132, 342, 337}));
  root.Flush();
  EXPECT_EQ(root.WindowPixel(57, 132), TestBitmapPixel(0, 0));
  EXPECT_EQ(root.WindowPixel(60, 134), TestBitmapPixel(3, 2));
  EXPECT_EQ(root.WindowPixel(56, 132), 0x808080u);
  EXPECT_EQ(root.WindowPixel(57, 131), 0x808080u);
  // The notice band, white, along the bottom left.
  EXPECT_EQ(root.WindowPixel(11, 470 - 15), 0xFFFFFFu);
  EXPECT_EQ(root.WindowPixel(250, 469), 0xFFFFFFu);
  EXPECT_EQ(root.WindowPixel(251, 469), 0x808080u);
  // The version at the top right: some black pixels there.
  bool black = false;
  for (std::int32_t y = 2; y < 12; ++y)
    for (std::int32_t x = 370; x < 399; ++x) black = black || root.WindowPixel(x, y) == 0;
  EXPECT_TRUE(black);
}

TEST_F(AboutFixture, AClickReturnsToTheCoveredPageAndShiftTogglesDetails) {
  AboutFrame* about = Make();
  Click(about, true);
  EXPECT_TRUE(about->IsShowingDetails());
  root.Flush();
  EXPECT_EQ(root.WindowPixel(200, 200), 0xFFFFFFu);
  Click(about, true);
  EXPECT_FALSE(about->IsShowingDetails());
  EXPECT_EQ(root.GetPage(), about);
  Click(about, false);
  EXPECT_EQ(root.GetPage(), page);
  EXPECT_FALSE(about->IsVisible());
}

TEST_F(AboutFixture, CustomizerHooks) {
  AboutFrame* about = Make(std::make_unique<Hooks>(&log, false));
  Click(about, false);
  EXPECT_EQ(root.GetPage(), about);  // may not close
  root.ShowPage(page);
  root.ShowPage(about);
  root.Flush();
  EXPECT_EQ(about->GetShowCount(), 2);
  delete about;
  EXPECT_EQ(log, (std::vector<std::string>{"attach", "shown 1", "shown 2", "drawn", "deleted"}));
}

TEST_F(AboutFixture, ACustomizerThatFailsToAttachIsDeleted) {
  EXPECT_THROW(new AboutFrame(root.GetRootFrame(), page, &root, kTestBitmapId, 4, 3, nullptr, Point{},
                              nullptr, nullptr, std::make_unique<Hooks>(&log, true, true)),
               std::runtime_error);
  EXPECT_EQ(log, (std::vector<std::string>{"attach", "deleted"}));
  EXPECT_EQ(root.GetRootFrame()->GetChildren().size(), 1u);
}

TEST_F(AboutFixture, TheTextsAreCopies) {
  std::string version = "1.0", notice = "notice";
  root.ShowPage(page);
  auto* about = new AboutFrame(root.GetRootFrame(), page, &root, kTestBitmapId, 4, 3, version.c_str(),
                               Point{5, 12}, notice.c_str(), nullptr, nullptr);
  version.assign(200, 'v');
  notice.clear();
  notice.shrink_to_fit();
  root.ShowPage(about);
  root.Flush();  // ASan: nothing read from the caller's strings
}

}  // namespace
