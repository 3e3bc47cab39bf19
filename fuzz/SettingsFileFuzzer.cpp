// Feeds arbitrary bytes to the analyser's editor as the settings file its load dialog answers with,
// on the headless platform (never X): the file is read, applied through the guarded apply (taken
// whole or refused whole) and one more idle draws what it changed. Whatever state results must
// save and load again.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "analyser/engine/Korvane.h"
#include "platform/headless/HeadlessPlatform.h"
#include "tests/support/StubPlatform.h"
#include "tests/support/TemporaryConfig.h"
#include "tests/toolkit/support/FakeEditorHost.h"
#include "tests/toolkit/support/TestTick.h"
#include "toolkit/editor/VSTEditor.h"

namespace {

// The header's load button, in editor coordinates.
constexpr std::int32_t kLoadX = 399 - 36 + 7, kLoadY = 5 + 7;

struct OpenEditor {
  OpenEditor() {
    // No zenity, no message boxes.
    unsetenv("DISPLAY");
    file = (config.root / "input.korvane").string();
    platform.SetTick(tick.Get());
    pluginPlatform.editorOpen = true;
    editor = std::make_unique<VSTEditor>(nullptr, host, &plugin, &plugin, platform, 399, 470);
    if (!editor->open(reinterpret_cast<void*>(0x2A))) std::abort();
    window = platform.Window();
    window->Expose({0, 0, 399, 470});
    editor->idle();
  }

  void Click(std::int32_t x, std::int32_t y) {
    // Time moves only here, in steps longer than a double click; each step runs the timers that
    // are due, as an idle of the real editor would.
    tick.Advance(100);
    platform.SetTick(tick.Get());
    window->Press(x, y, MouseButton::kLeft, 0);
    window->Release(x, y, MouseButton::kLeft, 0);
    editor->idle();
  }

  // The registry store and the input file live in folders of our own, removed at exit, in memory
  // where there is a tmpfs: each load writes the store, and a disk would make that wait. The
  // clock is scripted, so a run does not depend on how fast it goes.
  TemporaryConfig config{std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp"};
  TestTick tick;
  StubPlatform pluginPlatform;
  Korvane plugin{&pluginPlatform, IOConfig{2, 2}};
  FakeEditorHost host;
  HeadlessPlatform platform;
  std::unique_ptr<VSTEditor> editor;
  HeadlessWindow* window{nullptr};
  std::string file;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  static OpenEditor e;
  std::FILE* out = std::fopen(e.file.c_str(), "wb");
  if (!out) std::abort();
  if (size > 0) std::fwrite(data, 1, size, out);
  std::fclose(out);
  e.platform.ScriptChooserAnswer(e.file);
  e.Click(kLoadX, kLoadY);  // the dialog begins
  e.editor->idle();         // its answer loads, and the editor draws
  // A refused file leaves an error panel; each click takes one away.
  for (int i = 0; i < 8 && !e.editor->GetModalFrames().empty(); ++i) e.Click(0, 0);
  if (!e.editor->GetModalFrames().empty()) __builtin_trap();
  e.host.LockMutex(false);
  const bool reloaded = e.plugin.ApplySettingsText(e.plugin.LiveSettingsText());
  e.host.UnlockMutex();
  if (!reloaded) __builtin_trap();
  // What the platform recorded is of no use here. Kept, it grows with every input, and libFuzzer
  // runs an input that ends with more allocations than frees again under a full leak check.
  e.window->ClearUploads();
  e.platform.ClearRecords();
  return 0;
}
