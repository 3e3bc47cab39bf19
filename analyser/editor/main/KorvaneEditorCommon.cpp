#include "analyser/editor/main/KorvaneEditorCommon.h"

#include <memory>

#include "analyser/editor/main/KorvaneMainFrame.h"
#include "analyser/engine/Korvane.h"
#include "analyser/engine/KorvaneMetaClass.h"
#include "analyser/resources/BitmapInventory.h"
#include "toolkit/controls/AboutFrame.h"
#include "toolkit/editor/PluginUIRoot.h"

std::unique_ptr<KorvaneEditorSide> CreateKorvaneEditorSide(Korvane& plugin) {
  return std::make_unique<KorvaneEditorCommon>(plugin);
}

KorvaneEditorCommon::KorvaneEditorCommon(Korvane& plugin)
    : MessageSubscriber<KorvaneEditorCommon>(&plugin), mPlugin(plugin) {
  Subscribe(plugin.GetMessageClass(Korvane::kEditorMessageClass), 0, &KorvaneEditorCommon::OnCoreMessage);
}

KorvaneEditorCommon::~KorvaneEditorCommon() { StopSubscriptions(); }

Frame* KorvaneEditorCommon::CreateEditorFrame(PluginUIRootInterface* root) {
  auto* editorRoot = dynamic_cast<PluginUIRoot*>(root);
  if (!editorRoot || !editorRoot->GetRootFrame()) return nullptr;
  return new KorvaneMainFrame(&mPlugin, this, editorRoot->GetRootFrame(), 0, 0);
}

Frame* KorvaneEditorCommon::CreateAboutFrame(PluginUIRootInterface* root) {
  auto* editorRoot = dynamic_cast<PluginUIRoot*>(root);
  if (!editorRoot || !editorRoot->GetRootFrame()) return nullptr;
  constexpr const bitmaps::Region& picture = bitmaps::RegionNamed("about picture");
  return new AboutFrame(editorRoot->GetRootFrame(), editorRoot->GetPage(), editorRoot, picture.bitmap,
                        picture.width, picture.height, "1.2x0", Point{0, 0}, KorvaneProduct::kCopyright,
                        &kWhite, nullptr);
}

void KorvaneEditorCommon::GetEditorSize(bool mono, std::int32_t& width, std::int32_t& height) const {
  const EditorLayoutSize size = KorvaneMainFrame::GetEditorSize(mono);
  width = size.width;
  height = size.height;
}
