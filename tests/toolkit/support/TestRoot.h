#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/services/FourCC.h"
#include "framework/services/MessagingServer.h"
#include "framework/services/PluginServices.h"
#include "tests/toolkit/support/TestWindow.h"
#include "toolkit/drawing/OGWorld.h"
#include "toolkit/editor/PluginUIRoot.h"
#include "toolkit/frames/Frame.h"

// An open editor root whose window is an image of the editor's size. Like the VST editor it holds
// a lock from a capture to its release: locks counts them.
class TestRoot : public PluginUIRoot {
 public:
  explicit TestRoot(std::int32_t width = 100, std::int32_t height = 80)
      : PluginUIRoot(nullptr, &mServices, Rect{0, 0, width, height}) {
    SetWindowContext(std::make_unique<TestWindow>(Rect{0, 0, width, height}));
    SetActiveFlag(true);
    SetRootFrame(std::unique_ptr<Frame>(new Frame(this, 0, 0, width, height, 0, FourCC('m', 's', 't', 'r'))));
    SetOpen(true);
    ClearUpdateSet();
  }
  ~TestRoot() override { TakeRootFrame().reset(); }
  using PluginUIRoot::SetActiveFlag;

  bool PlatformQuery() const override { return false; }
  void WillCaptureMouse(Frame*) override { ++locks; }
  void WillReleaseMouse(Frame*) override { --locks; }

  TestWindow& Window() { return static_cast<TestWindow&>(*GetWindowContext()); }
  std::uint32_t WindowPixel(std::int32_t x, std::int32_t y) {
    const Surface& s = Window().GetSurface();
    return s.pixels[y * s.stride + x];
  }
  void Flush() { DrawingScope scope(*this, true); }

  int locks{0};

 private:
  PluginServices mServices;  // outlives the tree: the destructor deletes the tree first
};

// Fills itself with its colour and logs its id at every draw.
class PaintFrame : public Frame {
 public:
  PaintFrame(Frame* parent, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
             std::uint32_t flags, std::int32_t id, Color color, std::vector<std::int32_t>* log)
      : Frame(parent, x, y, w, h, flags, id), mColor(color), mLog(log) {}

  void Draw(DrawContext& context, const Rect& area) override {
    if (mLog) mLog->push_back(GetId());
    context.SetForeColor(mColor);
    context.FillRect(area);
  }

 private:
  Color mColor{};
  std::vector<std::int32_t>* mLog{nullptr};
};

// An image of count cells of w x h in a row, cell i filled with CellColor(i).
inline Color CellColor(std::int32_t i) {
  return Color{std::uint16_t(0x1111 * (i + 1)), std::uint16_t(0x2020 + 0x0808 * i), 0x4040};
}
inline std::unique_ptr<OGWorld> MakeCellStrip(std::int32_t count, std::int32_t w, std::int32_t h) {
  auto world = std::make_unique<OGWorld>(Rect{0, 0, count * w, h});
  for (std::int32_t i = 0; i < count; ++i) {
    world->SetForeColor(CellColor(i));
    world->FillRect(Rect{i * w, 0, (i + 1) * w, h});
  }
  return world;
}
