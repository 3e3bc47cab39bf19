// The VST editor on the headless platform with reports arriving from other threads while it
// closes.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <future>
#include <thread>

#include "framework/core/ErrorReporting.h"
#include "framework/services/PluginServices.h"
#include "platform/headless/HeadlessPlatform.h"
#include "tests/support/StderrCapture.h"
#include "tests/toolkit/support/FakeEditorHost.h"
#include "toolkit/editor/VSTEditor.h"

namespace {

// Lets a test hold a report between the editor's decision to queue it and the queueing.
class PausingEditor : public VSTEditor {
 public:
  using VSTEditor::VSTEditor;
  std::function<void()> onQueue;

 protected:
  void WillQueueReport() override {
    if (onQueue) onQueue();
  }
};

// The report decides to queue while the editor is open; the editor closes before it is queued.
// It must reach the message box then, not a queue that nobody drains.
TEST(VSTEditorThreads, AReportThatLandsWhileTheEditorClosesReachesTheMessageBox) {
  FakeEditorHost host;
  PluginServices services;
  HeadlessPlatform platform;
  PausingEditor editor(nullptr, host, nullptr, &services, platform, 200, 100);
  ASSERT_TRUE(editor.open(reinterpret_cast<void*>(0x2A)));
  std::promise<void> paused;
  std::promise<void> resume;
  std::shared_future<void> resumed = resume.get_future().share();
  editor.onQueue = [&] {
    paused.set_value();
    // The close cannot finish while a report is being queued, so this wait ends by its limit.
    resumed.wait_for(std::chrono::milliseconds(200));
  };
  unsetenv("DISPLAY");
  StderrCapture capture;
  std::thread worker([&] {
    if (!editor.ShowError("late", nullptr, 0, kErrorError))
      ShowErrorMessageBox(nullptr, "late", nullptr, 0, kErrorError);
  });
  paused.get_future().wait();
  std::thread closer([&] { editor.close(); });
  closer.join();
  resume.set_value();
  worker.join();
  EXPECT_FALSE(editor.IsOpen());
  EXPECT_EQ(capture.Text(), "Quillmore: : \nlate        \n\n\n");
}

}  // namespace
