#include "analyser/editor/header/KVNGlobalFrame.h"

#include "analyser/editor/header/StripButton.h"
#include "analyser/editor/header/UserGuide.h"
#include "analyser/engine/Korvane.h"
#include "analyser/resources/BitmapInventory.h"
#include "toolkit/controls/PixMapButton.h"
#include "toolkit/drawing/OGWorld.h"
#include "toolkit/editor/PluginUIRoot.h"
#include "toolkit/window/WindowContext.h"

namespace {

constexpr StripButton kButtons[] = {
    MakeStripButton(KVNGlobalFrame::kAbout, StripButton::kFromLeft, 6, 6, "about button"),
    MakeStripButton(KVNGlobalFrame::kAboutBadge, StripButton::kFromRight, 127, 7, "about badge"),
    MakeStripButton(KVNGlobalFrame::kGuide, StripButton::kFromRight, 143, 11, "guide button"),
};

constexpr const bitmaps::Region& kFill = bitmaps::RegionNamed("strip fill colour");
constexpr const bitmaps::Region& kOutline = bitmaps::RegionNamed("strip outline colour");

}  // namespace

KVNGlobalFrame::KVNGlobalFrame(Korvane* plugin, Frame* parent, std::int32_t x, std::int32_t y,
                               std::int32_t width, bool outlineTop)
    : Frame(parent, x, y, width, kHeight, 0, 0),
      MessageSubscriber<KVNGlobalFrame>(plugin),
      ControlContainer(plugin, 0),
      mSprites(GetRoot(), bitmaps::kSprites),
      mOutlineTop(outlineTop) {
  for (const StripButton& row : kButtons)
    AddControl(NewStripButton(this, row, mSprites.Get()), row.id, kNotOwned);
}

KVNGlobalFrame::~KVNGlobalFrame() { StopSubscriptions(); }

void KVNGlobalFrame::Draw(DrawContext& context, const Rect&) {
  OGWorld* sprites = mSprites.Get();
  context.SetForeColor(sprites->GetPixelColor(Point{kFill.x, kFill.y}));
  context.FillRect(GetLocalRect());
  context.SetForeColor(sprites->GetPixelColor(Point{kOutline.x, kOutline.y}));
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
