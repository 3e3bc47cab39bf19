// Host callbacks that touch the editor or its window, arriving from a thread other than the UI's.
#include "host/vst/HostCallback.h"
#include "host/vst/TvMultimeterPlugin.h"
#include "tests/host/PaintCounter.h"
#include "tests/host/RecorderLog.h"
#include "tests/host/TestApplication.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <thread>

using namespace tolvaran;

namespace {

void call_from_other_thread(AEffect* effect, int32_t opcode) {
  std::thread([effect, opcode] { host_callback(effect, opcode, 0, 0, nullptr, 0.0f); }).join();
}

TEST(HostCallbackThreads, EditorIdleRunsOnlyOnTheUiThread) {
  TvMultimeterPlugin plugin{QString()};
  ASSERT_TRUE(plugin.load_plugin(recorder_path("recorder").c_str()));
  plugin.serve_host_callbacks();
  plugin.edit_open(nullptr);
  clear_recorded_calls();

  call_from_other_thread(plugin.effect(), audioMasterIdle);
  EXPECT_TRUE(recorded_calls().empty());

  host_callback(plugin.effect(), audioMasterIdle, 0, 0, nullptr, 0.0f);
  EXPECT_EQ(recorded_opcodes(), std::vector<int32_t>{effEditIdle});
}

TEST(HostCallbackThreads, SizeWindowFromAnotherThreadIsQueuedToTheUiThread) {
  QApplication& app = test_application();
  PaintCounter window;
  window.resize(50, 40);
  window.show();
  app.processEvents();

  TvMultimeterPlugin plugin{QString()};
  ASSERT_TRUE(plugin.load_plugin(recorder_path("recorder").c_str()));
  plugin.serve_host_callbacks();
  plugin.set_window(&window);
  app.processEvents();
  window.paints = 0;

  call_from_other_thread(plugin.effect(), audioMasterSizeWindow);
  EXPECT_EQ(window.paints, 0) << "nothing painted off the UI thread";
  for (int i = 0; i < 20 && window.paints == 0; ++i) app.processEvents(QEventLoop::AllEvents, 10);
  EXPECT_GT(window.paints, 0);

  // Queued work finds the window gone rather than a dangling pointer.
  auto* gone = new PaintCounter;
  plugin.set_window(gone);
  call_from_other_thread(plugin.effect(), audioMasterSizeWindow);
  delete gone;
  app.processEvents();
  EXPECT_EQ(plugin.window(), nullptr);
}

}  // namespace
