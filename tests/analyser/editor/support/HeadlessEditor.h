#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "analyser/engine/Korvane.h"
#include "framework/core/DefaultSettings.h"
#include "platform/PlatformMutex.h"
#include "platform/WindowEvent.h"
#include "platform/headless/HeadlessPlatform.h"
#include "tests/support/StubPlatform.h"
#include "toolkit/editor/EditorHost.h"
#include "toolkit/editor/VSTEditor.h"

// A host whose default settings are the real files in the folder the registry names.
class DefaultSettingsPlatform : public StubPlatform {
 public:
  bool LoadDefaultSettings(const std::string& name, std::string& text) override {
    return ReadDefaultSettingsFile(name, text);
  }
  bool SaveDefaultSettings(const std::string& name, const std::string& text) override {
    return WriteDefaultSettingsFile(name, text);
  }
};

// The adapter's side of the editor: an instance mutex that is always free, no host idle.
struct FreeMutexHost : EditorHost {
  bool LockMutex(bool) override { return true; }
  void UnlockMutex() override {}
  void HostIdle() override {}
};

// The analyser's whole editor opened by the VST editor on the headless platform: clicks go
// through the window's events and the editor's idle.
struct HeadlessEditor {
  HeadlessEditor() {
    pluginPlatform.editorOpen = true;
    editor = std::make_unique<VSTEditor>(nullptr, host, &plugin, &plugin, platform, 399, 470);
    if (!editor->open(reinterpret_cast<void*>(0x2A))) return;
    window = platform.Window();
    window->Expose({0, 0, 399, 470});
    editor->idle();
  }
  ~HeadlessEditor() { editor.reset(); }

  void Click(std::int32_t x, std::int32_t y, std::uint32_t modifiers = 0) {
    window->Press(x, y, MouseButton::kLeft, modifiers);
    window->Release(x, y, MouseButton::kLeft, modifiers);
    editor->idle();
  }
  // Lets a dialog's answer arrive.
  void Idle() { editor->idle(); }

  DefaultSettingsPlatform pluginPlatform;
  Korvane plugin{&pluginPlatform, IOConfig{2, 2}};
  FreeMutexHost host;
  HeadlessPlatform platform;
  std::unique_ptr<VSTEditor> editor;
  HeadlessWindow* window{nullptr};
};
