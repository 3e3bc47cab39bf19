// Drawing allocates nothing once the first draw has run: every operator new is counted.
#include <gtest/gtest.h>

#include "tests/support/AllocationCounter.h"
#include "tests/toolkit/support/ScopeScene.h"

namespace {

// Text, wrapped text, ellipses and masked copies besides the scope's lines.
class TextFrame : public Frame {
 public:
  TextFrame(Frame* parent, const OGWorld* image)
      : Frame(parent, 220, 120, 170, 80, kBuffered, 0), mImage(image) {}
  void Draw(DrawContext& context, const Rect& area) override {
    context.SetForeColor(Color{0x1000, 0x1000, 0x1000});
    context.FillRect(area);
    context.SetFont(DrawContext::kNormalFont, kWhite);
    context.MoveTo(Point{4, 12});
    context.DrawString("KVN Stereo Analyzer (OrbA)");
    context.SetFont(DrawContext::kSmallFont, kWhite);
    context.DrawTextInRect("An unknown error occurred. Stereophonically wide words wrap",
                           Rect{10, 14, 120, 70});
    context.FillEllipse(Rect{130, 40, 160, 70});
    context.FrameEllipse(Rect{130, 10, 160, 38});
    context.FrameRect(Rect{0, 0, 170, 80});
    context.CopyMasked(*mImage, Rect{0, 0, 20, 10}, *mImage, Point{0, 10}, Point{140, 2});
    (void)context.GetPixelColor(Point{1, 1});
  }

 private:
  const OGWorld* mImage{nullptr};
};

TEST(NoAllocation, RedrawingTheEditorAllocatesNothingAfterTheFirstDraw) {
  TestRoot root(399, 470);
  EditorScene scene(root);
  Frame* top = root.GetRootFrame();
  auto* lines = new ScopeLikeFrame(top, 9, 112, ScopePicture::Signal::kNoise, false);
  auto* dots = new ScopeLikeFrame(top, 190, 250, ScopePicture::Signal::kSines, true);
  auto* text = new TextFrame(top, &scene.background);
  auto drawEverything = [&] {
    lines->Invalidate();
    dots->Invalidate();
    text->Invalidate();
    PluginUIRoot::DrawingScope scope(root, true);
    root.DrawRect(root.GetEditorRect());
    lines->Redraw(nullptr, true);
  };
  drawEverything();
  const long before = gAllocations.load();
  for (int i = 0; i < 10; ++i) drawEverything();
  EXPECT_EQ(gAllocations.load() - before, 0);
  EXPECT_NE(root.WindowPixel(20, 130), 0u);
}

}  // namespace
