#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "analyser/engine/Korvane.h"
#include "framework/core/DefaultSettings.h"
#include "framework/services/InstanceMutexCheck.h"
#include "platform/PlatformMutex.h"
#include "platform/WindowEvent.h"
#include "platform/headless/HeadlessPlatform.h"
#include "tests/support/StubPlatform.h"
#include "tests/toolkit/support/FakeEditorHost.h"
#include "toolkit/editor/VSTEditor.h"

// A host whose default settings are the real files in the default settings folder, and whose
// instance mutex is the editor host's.
class DefaultSettingsPlatform : public StubPlatform {
 public:
  explicit DefaultSettingsPlatform(const PlatformMutex& instanceMutex) : mMutex(instanceMutex) {}
  bool HoldsInstanceMutex() const override { return mMutex.HeldByCaller(); }
  bool LoadDefaultSettings(const std::string& name, std::string& text) override {
    return ReadDefaultSettingsFile(name, text);
  }
  bool SaveDefaultSettings(const std::string& name, const std::string& text) override {
    return WriteDefaultSettingsFile(name, text);
  }

 private:
  const PlatformMutex& mMutex;
};

// What a host does around its own calls into the plug-in: holds the instance mutex.
class HostCall {
 public:
  explicit HostCall(FakeEditorHost& host) : mHost(host) { mHost.LockMutex(false); }
  ~HostCall() { mHost.UnlockMutex(); }
  HostCall(const HostCall&) = delete;
  HostCall& operator=(const HostCall&) = delete;

 private:
  FakeEditorHost& mHost;
};

// The analyser's whole editor opened by the VST editor on the headless platform: clicks go
// through the window's events and the editor's idle. While it lives, any change of the plug-in's
// state on a thread that does not hold the instance mutex fails the test; the test's own changes
// go inside a HostCall, as a host's would.
struct HeadlessEditor {
  HeadlessEditor() {
    InstanceMutexCheck::Install([](const char* where) {
      ADD_FAILURE() << "plug-in state changed without the instance mutex: " << where;
    });
    pluginPlatform.editorOpen = true;
    editor = std::make_unique<VSTEditor>(nullptr, host, &plugin, &plugin, platform, 399, 470);
    if (!editor->open(reinterpret_cast<void*>(0x2A))) return;
    window = platform.Window();
    window->Expose({0, 0, 399, 470});
    editor->idle();
  }
  ~HeadlessEditor() {
    editor.reset();
    InstanceMutexCheck::Install(nullptr);
  }

  void Click(std::int32_t x, std::int32_t y, std::uint32_t modifiers = 0) {
    window->Press(x, y, MouseButton::kLeft, modifiers);
    window->Release(x, y, MouseButton::kLeft, modifiers);
    editor->idle();
  }
  // Lets a dialog's answer arrive.
  void Idle() { editor->idle(); }

  FakeEditorHost host;
  DefaultSettingsPlatform pluginPlatform{*host.mutex};
  Korvane plugin{&pluginPlatform, IOConfig{2, 2}};
  HeadlessPlatform platform;
  std::unique_ptr<VSTEditor> editor;
  HeadlessWindow* window{nullptr};
};
