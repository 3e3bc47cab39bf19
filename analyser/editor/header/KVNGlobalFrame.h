#pragma once

#include <cstdint>

#include "framework/services/MessageSubscriber.h"
#include "toolkit/controls/ControlContainer.h"
#include "toolkit/editor/PixMapRef.h"
#include "toolkit/frames/Frame.h"

class Korvane;
class GenericControl;

// The editor's bottom strip: two picture buttons that show the about page and a small one that
// opens the user's guide (when one is installed; nothing is reported otherwise). Editor thread.
class KVNGlobalFrame : public Frame, public MessageSubscriber<KVNGlobalFrame>, public ControlContainer {
 public:
  static constexpr std::int32_t kHeight = 36;
  enum ButtonId : std::int32_t { kAbout = 0, kAboutBadge = 1, kGuide = 2 };

  // outlineTop: the outline's top line falls inside the strip; otherwise just above it, so a
  // strip above draws the line.
  static constexpr bool kTopLineInside = true;
  KVNGlobalFrame(Korvane* plugin, Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width,
                 bool outlineTop);
  ~KVNGlobalFrame() override;

  void Draw(DrawContext& context, const Rect& area) override;
  void ControlValueChanged(std::int32_t key, std::int32_t value, GenericControl* sender) override;

 private:
  void OpenUserGuide();

  PixMapRef mSprites;
  bool mOutlineTop{true};
};

constexpr std::int32_t GetGlobalFrameHeight() { return KVNGlobalFrame::kHeight; }
