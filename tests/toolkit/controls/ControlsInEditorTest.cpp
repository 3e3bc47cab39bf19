// Gestures of the controls through the real editor: the VST editor on the headless platform,
// whose instance mutex a drag holds.
#include <gtest/gtest.h>

#include <memory>

#include "framework/services/PluginServices.h"
#include "platform/headless/HeadlessPlatform.h"
#include "tests/toolkit/support/FakeEditorHost.h"
#include "tests/toolkit/support/MessageLog.h"
#include "tests/toolkit/support/TestRoot.h"
#include "tests/toolkit/support/TestTick.h"
#include "toolkit/controls/IncDecControlGroup.h"
#include "toolkit/controls/PixMapButton.h"
#include "toolkit/controls/PixMapSlider.h"
#include "toolkit/controls/TextFrame.h"
#include "toolkit/editor/VSTEditor.h"
#include "toolkit/window/WindowContext.h"

namespace {

class ControlsInEditor : public ::testing::Test {
 protected:
  void SetUp() override {
    editor = std::make_unique<VSTEditor>(nullptr, host, nullptr, &services, platform, 200, 100);
    ASSERT_TRUE(editor->open(reinterpret_cast<void*>(0x2A)));
    window = platform.Window();
    slider = new PixMapSlider(editor->GetRootFrame(), 10, 10, 62, 11, 0, 0, sprites.get(), 62, 0, 7, 11,
                              std::nullopt, 0x100, 0, 55, 0, 1);
    window->Expose({0, 0, 200, 100});
    editor->idle();
  }
  void TearDown() override { editor.reset(); }

  FakeEditorHost host;
  PluginServices services;
  HeadlessPlatform platform;
  std::unique_ptr<OGWorld> sprites = MakeCellStrip(2, 62, 11);
  std::unique_ptr<VSTEditor> editor;
  HeadlessWindow* window = nullptr;
  PixMapSlider* slider = nullptr;
};

TEST_F(ControlsInEditor, ADragMovesTheSliderUnderTheMutexUntilTheRelease) {
  MessageLog log(services.GetMessagingServer(), slider->GetControlMsgClass());
  window->Press(10 + 30, 15);  // on the track: the thumb's left edge to 27
  editor->idle();
  EXPECT_EQ(slider->GetValue(), 27);
  EXPECT_EQ(host.depth, 1);
  window->Move(10 + 43, 15);
  editor->idle();
  EXPECT_EQ(slider->GetValue(), 40);
  window->Release(10 + 43, 15);
  editor->idle();
  EXPECT_EQ(host.depth, 0);
  EXPECT_FALSE(slider->IsPressed());
  EXPECT_EQ(log.entries.back(), (MessageLog::Entry{GenericControl::kReleased, 40}));
}

TEST_F(ControlsInEditor, AControlDisabledMidDragGivesUpTheCaptureAndTheMutex) {
  MessageLog log(services.GetMessagingServer(), slider->GetControlMsgClass());
  window->Press(10 + 30, 15);
  editor->idle();
  ASSERT_EQ(editor->GetMouseCaptureFrame(), slider);
  slider->SetEnabled(false);
  EXPECT_EQ(editor->GetMouseCaptureFrame(), nullptr);
  EXPECT_EQ(editor->GetWindow()->GetMouseCapturer(), nullptr);
  EXPECT_FALSE(slider->IsPressed());
  EXPECT_EQ(log.entries.back(), (MessageLog::Entry{GenericControl::kReleased, 27}));
  window->Move(10 + 50, 15);  // no longer the slider's drag
  editor->idle();
  EXPECT_EQ(slider->GetValue(), 27);
  // The next idle ends the drag: the mutex is free before the button comes up.
  EXPECT_EQ(host.depth, 0);
  EXPECT_FALSE(editor->DragHoldsMutex());
  window->Release(10 + 50, 15);
  editor->idle();
  EXPECT_EQ(host.depth, 0);
  EXPECT_FALSE(editor->DragHoldsMutex());
  // The editor takes presses again.
  slider->SetEnabled(true);
  window->Press(10 + 5, 15);
  editor->idle();
  EXPECT_EQ(slider->GetValue(), 2);
  window->Release(10 + 5, 15);
  editor->idle();
  EXPECT_EQ(host.depth, 0);
}

TEST_F(ControlsInEditor, AStepperHeldThroughTheEditorRepeatsFromIdleAndStopsAtTheRelease) {
  TestTick tick(5000);
  auto* up =
      new InstantActionButton(editor->GetRootFrame(), 100, 10, 10, 10, 10, 0, 0, 0, sprites.get(), 0, 2);
  auto* down =
      new InstantActionButton(editor->GetRootFrame(), 120, 10, 10, 10, 10, 0, 0, 0, sprites.get(), 0, 3);
  IncDecControlGroup::Create(&services, up, down, slider);
  window->Press(105, 15);
  editor->idle();
  EXPECT_EQ(slider->GetValue(), 1);
  for (int i = 0; i < 40; ++i) {
    tick.Advance(1);
    editor->idle();  // during the drag idle runs the timers
  }
  EXPECT_EQ(slider->GetValue(), 1 + 1 + 3);  // at 20, 26, 32 and 38 ticks
  EXPECT_EQ(host.depth, 1);
  window->Release(105, 15);
  editor->idle();
  tick.Advance(100);
  editor->idle();
  EXPECT_EQ(slider->GetValue(), 5);
  EXPECT_EQ(host.depth, 0);
}

// Records the codes of a text frame's edit class, and the text of an entry.
class EditRecord {
 public:
  EditRecord(MessagingServer& server, TextFrame* frame) : mServer(server), mClass(frame->GetEditMsgClass()) {
    mSubscription = server.Subscribe(mClass, &Record, this, 0);
  }
  ~EditRecord() { mServer.Unsubscribe(mClass, mSubscription); }
  EditRecord(const EditRecord&) = delete;
  EditRecord& operator=(const EditRecord&) = delete;

  std::vector<std::int32_t> codes;
  std::string text;

 private:
  static std::int32_t Record(MessageSubscription*, void* self, std::int32_t, MessageClass*, std::int32_t code,
                             std::int32_t, void* payload) {
    auto* record = static_cast<EditRecord*>(self);
    record->codes.push_back(code);
    if (code == TextFrame::kEditEntered) record->text = *static_cast<TextFrame::EnteredText*>(payload)->text;
    return 0;
  }

  MessagingServer& mServer;
  MessageClass* mClass{nullptr};
  MessageSubscription* mSubscription{nullptr};
};

TEST_F(ControlsInEditor, ATextFrameIsEditedInTheWindowsEditField) {
  auto* text = new TextFrame(editor->GetRootFrame(), 10, 50, 60, 12, 0, 4);
  text->SetText("-12", false);
  text->SetEditMode(TextFrame::kEditOnClick);
  EditRecord record(services.GetMessagingServer(), text);
  window->Press(20, 55);
  window->Release(20, 55);
  editor->idle();
  ASSERT_TRUE(window->EditFrame());
  window->Type("42");
  window->Key(EditKey::kReturn);
  editor->idle();
  EXPECT_EQ(record.codes, (std::vector<std::int32_t>{TextFrame::kEditStarted, TextFrame::kEditEntered}));
  EXPECT_EQ(record.text, "42");
  EXPECT_EQ(host.depth, 0);

  // An edit that the window cannot open ends as cancelled.
  window->FailNextEdit();
  window->Press(20, 55);
  window->Release(20, 55);
  editor->idle();
  EXPECT_EQ(record.codes.back(), TextFrame::kEditCancelled);
}

TEST_F(ControlsInEditor, AnEditOutlivingItsFrameReachesNobody) {
  auto* text = new TextFrame(editor->GetRootFrame(), 10, 50, 60, 12, 0, 4);
  text->SetEditMode(TextFrame::kEditOnClick);
  window->Press(20, 55);
  window->Release(20, 55);
  editor->idle();
  ASSERT_TRUE(editor->GetWindow()->IsTextEditActive());
  delete text;
  window->Type("7");
  window->Key(EditKey::kReturn);
  editor->idle();  // ASan: the entry goes to nobody
  EXPECT_FALSE(editor->GetWindow()->IsTextEditActive());
}

}  // namespace
