#pragma once

#include <cstdint>
#include <memory>

class Frame;
class Korvane;
class PluginUIRootInterface;

// The editor's half of the plug-in object: it makes the editor's main frame and about frame and
// knows the editor's size. The plug-in keeps one for its whole life. User-interface thread.
class KorvaneEditorSide {
 public:
  virtual ~KorvaneEditorSide() = default;
  // Null when the root is not an editor root this side can build in.
  virtual Frame* CreateEditorFrame(PluginUIRootInterface* root) = 0;
  virtual Frame* CreateAboutFrame(PluginUIRootInterface* root) = 0;
  virtual void GetEditorSize(bool mono, std::int32_t& width, std::int32_t& height) const = 0;
};

// Defined at link time by the analyser's editor library; programs of the engine alone link one
// that answers null, and the plug-in then has no editor.
std::unique_ptr<KorvaneEditorSide> CreateKorvaneEditorSide(Korvane& plugin);
