#include "analyser/editor/header/KVNGlobalFrame.h"

#include "analyser/editor/header/UserGuide.h"
#include "analyser/engine/Korvane.h"
#include "analyser/resources/BitmapInventory.h"
#include "toolkit/controls/PixMapButton.h"
#include "toolkit/drawing/OGWorld.h"
#include "toolkit/editor/PluginUIRoot.h"
#include "toolkit/window/WindowContext.h"

KVNGlobalFrame::KVNGlobalFrame(Korvane* plugin, Frame* parent, std::int32_t x, std::int32_t y,
                               std::int32_t width, bool outlineTop)
    : Frame(parent, x, y, width, kHeight, 0, 0),
      MessageSubscriber<KVNGlobalFrame>(plugin),
      ControlContainer(plugin, 0),
      mSprites(GetRoot(), bitmaps::kSprites),
      mOutlineTop(outlineTop) {
  const OGWorld* sprites = mSprites.Get();
  // The frame tree owns the buttons.
  AddControl(new ActionButton(this, 6, 6, 125, 27, 0, 0, 5, 356, sprites, 0, kAbout), kAbout, false);
  AddControl(new ActionButton(this, width - 127, 7, 126, 17, 0, 0, 272, 360, sprites, 0, kAboutBadge),
             kAboutBadge, false);
  AddControl(new ActionButton(this, width - 143, 11, 13, 13, 0, 24, 257, 364, sprites, 0, kGuide), kGuide,
             false);
}

KVNGlobalFrame::~KVNGlobalFrame() { StopSubscriptions(); }

void KVNGlobalFrame::Draw(DrawContext& context, const Rect&) {
  OGWorld* sprites = mSprites.Get();
  context.SetForeColor(sprites->GetPixelColor(Point{6, 325}));
  context.FillRect(GetLocalRect());
  context.SetForeColor(sprites->GetPixelColor(Point{0, 322}));
  context.FrameRect(Rect{0, mOutlineTop ? 0 : -1, GetWidth(), GetHeight()});
}

void KVNGlobalFrame::ControlValueChanged(std::int32_t key, std::int32_t, GenericControl*) {
  if (key == kAbout || key == kAboutBadge)
    GetRoot()->ShowAboutPage();
  else if (key == kGuide)
    OpenUserGuide();
}

void KVNGlobalFrame::OpenUserGuide() {
  auto* window = dynamic_cast<WindowContext*>(GetRoot()->GetWindowContext());
  if (!window) return;
  if (const std::optional<std::string> guide = FindUserGuide()) window->GetPlatform().OpenDocument(*guide);
}
