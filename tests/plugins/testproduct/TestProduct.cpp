// A small product on the plug-in framework for black-box tests of the adapter and the core: a
// description with a few parameter kinds and four programs, and a core that journals what
// reaches it. The test hooks below are exported beside the VST entry points.
#include <xmmintrin.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "framework/core/PluginCore.h"
#include "framework/core/VstPluginMetaClass.h"
#include "framework/services/FourCC.h"
#include "plugin/VSTPlugin.h"
#include "toolkit/editor/VSTEditor.h"
#include "toolkit/frames/Frame.h"
#include "vst2/Vst2Interface.h"

namespace {

std::mutex gJournalMutex;
std::string gJournal;
std::atomic<int> gMetaClassesCreated{0};
std::atomic<int> gMetaClassesAlive{0};
std::atomic<int> gFailure{0};  // 1: no core, 2: the core's constructor throws
std::atomic<bool> gEditorOpen{false};
std::atomic<unsigned> gHookCsr{0};       // MXCSR as the audio hook saw it
std::atomic<unsigned> gParameterCsr{0};  // MXCSR as a parameter change saw it
std::atomic<bool> gHoldHook{false};      // while set, the audio hook does not return
std::atomic<bool> gHookHeld{false};      // the audio hook is being held

void Journal(const std::string& line) {
  std::lock_guard<std::mutex> lock(gJournalMutex);
  gJournal += line + "\n";
}

std::string Number(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", static_cast<double>(value));
  return text;
}

// The test product's small editor: a frame that takes the capture on a press, one that does
// not, and an editable text. Each journals what reaches it.
class JournalFrame : public Frame {
 public:
  JournalFrame(Frame* parent, Rect at, const char* name, Color color, bool capturing)
      : Frame(parent, at.left, at.top, RectWidth(at), RectHeight(at), 0, 0),
        mName(name),
        mColor(color),
        mCapturing(capturing) {}
  void Mouse(std::int32_t kind, std::int32_t x, std::int32_t y) override {
    if (kind != kMouseDown && kind != kMouseUp) return;
    Journal(mName + (kind == kMouseDown ? " down " : " up ") + std::to_string(x) + "," + std::to_string(y));
    if (kind == kMouseDown && mCapturing) CaptureMouse();
  }
  void Draw(DrawContext& context, const Rect& area) override {
    context.SetForeColor(mColor);
    context.FillRect(area);
  }

 private:
  std::string mName;
  Color mColor{};
  bool mCapturing{false};
};

class EditableText : public Frame {
 public:
  EditableText(Frame* parent, Rect at)
      : Frame(parent, at.left, at.top, RectWidth(at), RectHeight(at), 0, 0) {}
  void Mouse(std::int32_t kind, std::int32_t, std::int32_t) override {
    auto* editor = dynamic_cast<VSTEditor*>(GetRoot());
    if (kind != kMouseDown || !editor || !editor->GetWindow()) return;
    editor->GetWindow()->BeginTextEdit(GetGlobalRect(), mText,
                                       [this](const std::optional<std::string>& text) {
                                         Journal(text ? "edit " + *text : "edit cancelled");
                                         if (text) mText = *text;
                                         Invalidate();
                                       });
  }
  void Draw(DrawContext& context, const Rect& area) override {
    context.SetForeColor(kWhite);
    context.FillRect(area);
    context.SetFont(DrawContext::kSmallFont, kBlack);
    context.MoveTo(Point{1, GetHeight() - 3});
    context.DrawString(mText.c_str());
  }

 private:
  std::string mText{"text"};
};

// Loads a settings file through the dialog and journals what came.
class LoadButton : public JournalFrame {
 public:
  LoadButton(Frame* parent, Rect at) : JournalFrame(parent, at, "load", Color{0, 0xFFFF, 0}, false) {}
  void Mouse(std::int32_t kind, std::int32_t, std::int32_t) override {
    auto* editor = dynamic_cast<VSTEditor*>(GetRoot());
    if (kind != kMouseDown || !editor || !editor->GetWindow()) return;
    editor->GetWindow()->GetSettingsFileDialogs().Load(
        ".korvane", [](const std::optional<std::string>& text) {
          Journal(text ? "loaded " + std::to_string(text->size()) + " bytes" : "load cancelled");
        });
  }
};

Frame* CreateTestEditor(PluginUIRootInterface* rootInterface) {
  auto* root = dynamic_cast<PluginUIRoot*>(rootInterface);
  if (!root || !root->GetRootFrame()) return nullptr;
  auto* page = new JournalFrame(root->GetRootFrame(), Rect{0, 0, 200, 100}, "page",
                                Color{0x8080, 0x8080, 0x8080}, false);
  new JournalFrame(page, Rect{10, 10, 60, 40}, "drag", Color{0xFFFF, 0, 0}, true);
  new JournalFrame(page, Rect{70, 10, 120, 40}, "button", Color{0, 0, 0xFFFF}, false);
  new EditableText(page, Rect{10, 60, 110, 72});
  new LoadButton(page, Rect{130, 10, 190, 40});
  return page;
}

class TestCore : public PluginCore {
 public:
  TestCore(PluginPlatform* platform, IOConfig config) : PluginCore(platform, config) {
    if (gFailure.load() == 2) throw std::runtime_error("test core refuses to start");
    Journal("construct " + std::to_string(config.first) + "x" + std::to_string(config.second));
  }
  ~TestCore() override { Journal("destroy"); }

  float GetParameter(const ParameterDescriptor& descriptor) const override {
    return GetStoredParameterValue(descriptor);
  }
  Frame* CreateEditorFrame(PluginUIRootInterface* root) override { return CreateTestEditor(root); }
  Frame* CreateAboutFrame(PluginUIRootInterface*) override { return nullptr; }
  void GetEditorSize(std::int32_t& width, std::int32_t& height) const override {
    width = 200;
    height = 100;
  }
  bool IsEditorOpen() const override { return gEditorOpen.load() || PluginCore::IsEditorOpen(); }
  void Open() override { Journal("Open"); }
  void Close() override { Journal("Close"); }
  void Suspend() override { Journal("Suspend"); }
  void Resume() override { Journal("Resume"); }
  void SetSampleRate(float rate) override {
    Journal("SetSampleRate " + Number(rate));
    PluginCore::SetSampleRate(rate);
  }
  void SetBlockSize(std::int32_t size) override {
    Journal("SetBlockSize " + std::to_string(size));
    PluginCore::SetBlockSize(size);
  }
  void SetProgram(std::int32_t program) override {
    Journal("SetProgram " + std::to_string(program));
    PluginCore::SetProgram(program);
  }

 protected:
  bool ValidateParameterChange(const ParameterDescriptor&, float) override {
    gParameterCsr.store(_mm_getcsr());
    return true;
  }
  void OnParameterChange(const ParameterDescriptor& descriptor, float value) override {
    Journal("OnParameterChange " + std::to_string(descriptor.mIndex) + " " + Number(value));
  }
  void ProcessBlock(float** inputs, float** outputs, std::int32_t frames, std::int32_t state) override {
    // Writes input + 1 so tests can tell the hook ran and what an accumulating call added.
    for (std::int32_t c = 0; c < GetIOConfig().second; ++c) {
      for (std::int32_t i = 0; i < frames; ++i) outputs[c][i] = inputs[c][i] + 1.0f;
    }
    mLastState.store(state);
    gHookCsr.store(_mm_getcsr());
    if (!gHoldHook.load()) return;
    gHookHeld.store(true);
    while (gHoldHook.load()) std::this_thread::yield();
    gHookHeld.store(false);
  }

 public:
  std::atomic<std::int32_t> mLastState{-1};
};

class TestMetaClass : public ZEBPluginMetaClass {
 public:
  TestMetaClass() {
    ParameterDescriptor toggle;
    toggle.mId = FourCC('t', 'o', 'g', 'l');
    toggle.mKind = 0;
    toggle.mAutomatable = true;
    AddParameter(toggle);

    ParameterDescriptor gain;
    gain.mId = FourCC('g', 'a', 'i', 'n');
    gain.mKind = 4;
    gain.mMinimum = -60.0f;
    gain.mMaximum = 12.0f;
    gain.mLabel = "decibels";
    AddParameter(gain);

    ParameterDescriptor frequency;
    frequency.mId = FourCC('f', 'r', 'e', 'q');
    frequency.mKind = 6;
    frequency.mMinimum = 20.0f;
    frequency.mMaximum = 20000.0f;
    frequency.mFlags = ParameterDescriptor::kEditorOnly;
    AddParameter(frequency);
    ++gMetaClassesCreated;
    ++gMetaClassesAlive;
  }
  ~TestMetaClass() override { --gMetaClassesAlive; }

  PluginCoreInterface* CreatePluginCore(PluginPlatform* platform, IOConfig config) override {
    return gFailure.load() == 1 ? nullptr : new TestCore(platform, config);
  }
  std::string GetProductName() const override { return "Test Product"; }
  std::string GetName() const override { return "A Test Product Whose Name Is Far Too Long For Hosts"; }
  std::string GetVersion() const override { return "0.1"; }
  std::string GetCopyright() const override { return "Quillmore tests"; }
  void GetIOConfigs(IOConfigList& list) const override {
    list.emplace_back(2, 2);
    list.emplace_back(1, 1);
  }
  std::string GetDefaultPrograms() const override { return {}; }
  std::int32_t GetNumberOfPrograms() const override { return 4; }
  std::string GetParameterDisplayName(IOConfig, std::int32_t index) const override {
    static const char* const kNames[] = {"Toggle", "Gain Amount Longer", "Frequency"};
    return index >= 0 && index < 3 ? kNames[index] : "INVALID ID";
  }
};

class VstTestMetaClass : public VstPluginMetaClassBase<TestMetaClass> {
 public:
  std::int32_t GetPlugCategory() const override { return kPlugCategEffect; }
  std::int32_t GetUniqueID() const override { return FourCC('T', 's', 't', 'P'); }
};

VSTPlugin* Adapter(AEffect* effect) {
  return static_cast<VSTPlugin*>(static_cast<AudioEffect*>(effect->object));
}

// An editor that journals its close and its end, to show when the adapter ends it.
class JournalEditor : public AEffEditor {
 public:
  using AEffEditor::AEffEditor;
  ~JournalEditor() override { Journal("editor destroy"); }
  void close() override {
    Journal("editor close");
    AEffEditor::close();
  }
};

}  // namespace

ZEBPluginMetaClass* CreateVstKorvaneMetaClass() { return new VstTestMetaClass(); }

#define TEST_HOOK extern "C" __attribute__((visibility("default")))

TEST_HOOK const char* TestProductJournal() {
  static std::string copy;
  std::lock_guard<std::mutex> lock(gJournalMutex);
  copy = gJournal;
  gJournal.clear();
  return copy.c_str();
}
TEST_HOOK int TestProductMetaClassesCreated() { return gMetaClassesCreated.load(); }
TEST_HOOK int TestProductMetaClassesAlive() { return gMetaClassesAlive.load(); }
TEST_HOOK void TestProductSetFailure(int mode) { gFailure.store(mode); }
TEST_HOOK void TestProductSetEditorOpen(bool open) { gEditorOpen.store(open); }
// The editor's idle, until the editor exists.
TEST_HOOK void TestProductIdle(AEffect* effect) {
  static_cast<PluginCore*>(Adapter(effect)->GetCore())->DispatchParameterChanges();
}
TEST_HOOK bool TestProductLockMutex(AEffect* effect, bool tryOnly) {
  return Adapter(effect)->LockMutex(tryOnly);
}
TEST_HOOK void TestProductUnlockMutex(AEffect* effect) { Adapter(effect)->UnlockMutex(); }
TEST_HOOK int TestProductTakePendingProgram(AEffect* effect) { return Adapter(effect)->TakePendingProgram(); }
TEST_HOOK int TestProductLastState(AEffect* effect) {
  return static_cast<TestCore*>(Adapter(effect)->GetCore())->mLastState.load();
}
TEST_HOOK void TestProductAttachEditor(AEffect* effect) {
  Adapter(effect)->attachEditor(std::make_unique<JournalEditor>(Adapter(effect)));
}
// Holds the audio hook inside its next call until released; answers whether a call is held.
TEST_HOOK void TestProductHoldHook(bool hold) { gHoldHook.store(hold); }
TEST_HOOK bool TestProductHookHeld() { return gHookHeld.load(); }
TEST_HOOK unsigned TestProductHookCsr() { return gHookCsr.load(); }
TEST_HOOK unsigned TestProductParameterCsr() { return gParameterCsr.load(); }
