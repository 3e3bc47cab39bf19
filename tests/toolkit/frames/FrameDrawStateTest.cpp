// A frame's draw state is put back when an exception passes: the drawing bracket closes and the
// buffered flag that text measuring clears comes back.
#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/toolkit/support/TestRoot.h"

namespace {

constexpr Color kRed{0xFFFF, 0, 0}, kGreen{0, 0xFFFF, 0};

// Fills itself with its colour; its draw, bracket ends and bracket starts may be told to fail.
class FailingFrame : public Frame {
 public:
  FailingFrame(Frame* parent, std::uint32_t flags) : Frame(parent, 10, 10, 20, 10, flags, 1) {}
  void Draw(DrawContext& context, const Rect& area) override {
    if (failDraw) throw std::runtime_error("draw");
    context.SetForeColor(color);
    context.FillRect(area);
  }
  void BeginDraw(const Rect& area) override {
    if (failBegin) throw std::runtime_error("begin");
    Frame::BeginDraw(area);
  }
  void EndDraw(const Rect& area) override {
    ++ends;
    Frame::EndDraw(area);
    if (failEnd) throw std::logic_error("end");
  }
  Color color{kRed};
  bool failDraw{false};
  bool failBegin{false};
  bool failEnd{false};
  int ends{0};
};

TEST(FrameDrawState, ADrawThatThrowsStillClosesItsBracketAndTheFirstFailureWins) {
  struct Case {
    const char* what;
    bool failDraw, failEnd;
    bool drawFailurePropagates;  // else the end's
  };
  const Case cases[] = {
      {"the draw fails", true, false, true},
      {"the end fails", false, true, false},
      {"both fail", true, true, true},
  };
  for (const Case& c : cases) {
    TestRoot root;
    auto* frame = new FailingFrame(root.GetRootFrame(), 0);
    frame->failDraw = c.failDraw;
    frame->failEnd = c.failEnd;
    PluginUIRoot::DrawingScope scope(root, false);
    if (c.drawFailurePropagates) {
      EXPECT_THROW(frame->Redraw(nullptr, true), std::runtime_error) << c.what;
    } else {
      EXPECT_THROW(frame->Redraw(nullptr, true), std::logic_error) << c.what;
    }
    EXPECT_EQ(frame->ends, 1) << c.what;
  }
}

TEST(FrameDrawState, AnExceptionThroughGetTextBoxLeavesTheBufferedFlagAsItWas) {
  for (const std::uint32_t flags : {std::uint32_t(0), std::uint32_t(Frame::kBuffered)}) {
    TestRoot root;
    auto* frame = new FailingFrame(root.GetRootFrame(), flags);
    root.Flush();
    frame->ends = 0;
    frame->failBegin = true;
    EXPECT_THROW(frame->GetTextBox("text", false), std::runtime_error);
    frame->failBegin = false;
    frame->failEnd = true;
    EXPECT_THROW(frame->GetTextBox("text", false), std::logic_error);
    EXPECT_EQ(frame->ends, 1);
    EXPECT_EQ(frame->GetFlags(), flags);
    frame->failEnd = false;
    // The frame still draws as before: a buffered one through the back buffer.
    frame->color = kGreen;
    frame->Invalidate();
    root.Flush();
    EXPECT_EQ(root.WindowPixel(10, 10), ToPixel(kGreen));
    if (flags & Frame::kBuffered) {
      EXPECT_EQ(root.GetBackBuffer()->GetPixelColor(Point{0, 0}), FromPixel(ToPixel(kGreen)));
    }
  }
}

}  // namespace
