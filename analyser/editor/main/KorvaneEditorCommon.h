#pragma once

#include <cstdint>

#include "analyser/engine/KorvaneEditorSide.h"
#include "framework/services/MessageSubscriber.h"

// The plug-in's editor companion, alive as long as the plug-in object: builds the editor's
// frames in an editor root and listens on the plug-in's 'pbAc' class. User-interface thread.
class KorvaneEditorCommon : public KorvaneEditorSide, public MessageSubscriber<KorvaneEditorCommon> {
 public:
  explicit KorvaneEditorCommon(Korvane& plugin);
  ~KorvaneEditorCommon() override;

  Frame* CreateEditorFrame(PluginUIRootInterface* root) override;
  Frame* CreateAboutFrame(PluginUIRootInterface* root) override;
  void GetEditorSize(bool mono, std::int32_t& width, std::int32_t& height) const override;

 private:
  // Nothing is sent on 'pbAc'; the companion stays subscribed so the class the plug-in publishes
  // for its editor side keeps its one listener for as long as the plug-in lives.
  std::int32_t OnCoreMessage(std::int32_t) { return 0; }

  Korvane& mPlugin;
};
