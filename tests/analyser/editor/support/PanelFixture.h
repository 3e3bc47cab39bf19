#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "analyser/engine/Korvane.h"
#include "analyser/engine/alarms/KVNAlarmManager.h"
#include "framework/services/FourCC.h"
#include "framework/services/PluginServices.h"
#include "framework/services/TimerManager.h"
#include "tests/analyser/editor/support/EditorFixture.h"
#include "tests/support/StubPlatform.h"
#include "tests/toolkit/support/TestTick.h"
#include "toolkit/drawing/OGWorld.h"
#include "toolkit/editor/PluginUIRoot.h"
#include "toolkit/frames/Frame.h"

// The editor's window as an image with modifier keys the test holds.
class KeyWindow : public OGWorld {
 public:
  explicit KeyWindow(const Rect& rect) : OGWorld(rect) {}
  bool IsControlKeyDown() const override { return control && !shift; }
  bool IsShiftKeyDown() const override { return shift && !control; }
  bool IsControlShiftDown() const override { return control && shift; }
  bool IsExtraModifierDown() const override { return false; }

  bool control{false};
  bool shift{false};
};

// An open editor root of the analyser over a KeyWindow.
class PanelRoot : public AnalyserRoot {
 public:
  PanelRoot(Korvane& plugin, std::int32_t width, std::int32_t height) : AnalyserRoot(plugin, width, height) {
    SetWindowContext(std::make_unique<KeyWindow>(Rect{0, 0, width, height}));
  }
  KeyWindow& Keys() { return static_cast<KeyWindow&>(*GetWindowContext()); }
};

// A stereo analyser with its whole editor open, driven by a settable tick: audio goes through the
// plug-in's own process entry, and each tick runs the editor's timers as idle would.
struct PanelFixture {
  static constexpr std::int32_t kFramesPerTick = 750;  // 17 ms at 44.1 kHz

  PanelFixture() {
    platform.editorOpen = true;
    main = plugin.CreateEditorFrame(&root);
  }

  template <class T>
  T* Find(const std::function<bool(const T&)>& match = [](const T&) { return true; }) {
    return FindIn<T>(*root.GetRootFrame(), match);
  }

  KVNAlarmManager& Alarms() { return plugin.GetAlarmManager(); }
  bool Triggered(const char* name) {
    const AlarmRecord* record = Alarms().FindAlarm(name);
    return record && record->triggered;
  }

  // One tick's worth of audio from the two generators (sample index in), then the tick.
  void Play(const std::function<float(std::int64_t)>& left, const std::function<float(std::int64_t)>& right,
            std::int32_t ticks) {
    std::vector<float> l(kFramesPerTick), r(kFramesPerTick), outL(kFramesPerTick), outR(kFramesPerTick);
    for (std::int32_t t = 0; t < ticks; ++t) {
      for (std::int32_t i = 0; i < kFramesPerTick; ++i) {
        l[i] = left(sample + i);
        r[i] = right(sample + i);
      }
      sample += kFramesPerTick;
      float* inputs[] = {l.data(), r.data()};
      float* outputs[] = {outL.data(), outR.data()};
      plugin.Process(inputs, outputs, kFramesPerTick, false, 0);
      Tick();
    }
  }
  void Tick() {
    tick.Advance(1);
    static_cast<PluginServices&>(plugin).GetTimerManager().ProcessTimers();
  }

  TestTick tick;
  StubPlatform platform;
  Korvane plugin{&platform, IOConfig{2, 2}};
  PanelRoot root{plugin, 399, 470};
  Frame* main{nullptr};
  std::int64_t sample{0};

 private:
  template <class T>
  static T* FindIn(Frame& frame, const std::function<bool(const T&)>& match) {
    if (auto* found = dynamic_cast<T*>(&frame); found && match(*found)) return found;
    for (Frame* child : frame.GetChildren())
      if (T* found = FindIn<T>(*child, match)) return found;
    return nullptr;
  }
};

// A sine of 1 kHz at the given amplitude.
inline std::function<float(std::int64_t)> Sine(float amplitude) {
  return [amplitude](std::int64_t n) {
    return amplitude * float(std::sin(2.0 * 3.14159265358979 * 1000.0 * double(n) / 44100.0));
  };
}
inline std::function<float(std::int64_t)> Silence() {
  return [](std::int64_t) { return 0.0f; };
}
