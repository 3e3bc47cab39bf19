// The analyser's editor on a private Xvfb, fed silence through processReplacing and idled every
// tick: once its picture has settled, idles send the X server nothing. The server itself counts
// what reaches the editor's window (DAMAGE, one report per rectangle drawn into it).
#include <gtest/gtest.h>
#include <xcb/damage.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <thread>
#include <vector>

#include "tests/platform/TestDisplay.h"
#include "tests/platform/XvfbServer.h"
#include "tests/support/TemporaryConfig.h"
#include "tests/vsthost/VstHost.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kTick = std::chrono::milliseconds(17);
constexpr double kRate = 44100.0;
constexpr std::int32_t kBlock = 512;

// Whatever is drawn into one window, as the server reports it to the test's own connection.
class WindowDamage {
 public:
  WindowDamage(xcb_connection_t* connection, xcb_window_t window) : mConnection(connection) {
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_damage_id);
    if (!extension || !extension->present) return;
    mFirstEvent = extension->first_event;
    free(xcb_damage_query_version_reply(connection, xcb_damage_query_version(connection, 1, 1), nullptr));
    mDamage = xcb_generate_id(connection);
    xcb_damage_create(connection, mDamage, window, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
    xcb_flush(connection);
  }
  bool Valid() const { return mDamage != 0; }

  struct Drawn {
    int rects = 0;
    std::int64_t pixels = 0;
  };
  // What was drawn since the last call, as far as the server has taken it in.
  Drawn Take() {
    free(xcb_get_input_focus_reply(mConnection, xcb_get_input_focus(mConnection), nullptr));
    Drawn drawn;
    while (xcb_generic_event_t* event = xcb_poll_for_event(mConnection)) {
      if ((event->response_type & 0x7F) == mFirstEvent + XCB_DAMAGE_NOTIFY) {
        const auto* notify = reinterpret_cast<const xcb_damage_notify_event_t*>(event);
        ++drawn.rects;
        drawn.pixels += std::int64_t{notify->area.width} * notify->area.height;
      }
      free(event);
    }
    return drawn;
  }

 private:
  xcb_connection_t* mConnection = nullptr;
  std::uint8_t mFirstEvent = 0;
  xcb_damage_damage_t mDamage = 0;
};

xcb_window_t OnlyChild(xcb_connection_t* connection, xcb_window_t parent) {
  xcb_query_tree_reply_t* tree =
      xcb_query_tree_reply(connection, xcb_query_tree(connection, parent), nullptr);
  xcb_window_t child = 0;
  if (tree && xcb_query_tree_children_length(tree) == 1) child = xcb_query_tree_children(tree)[0];
  free(tree);
  return child;
}

TEST(AnalyserEditorStillPicture, OnceSettledInSilenceAHundredIdlesSendNoImage) {
  const TemporaryConfig config;
  XvfbServer server;
  ASSERT_FALSE(server.Display().empty());
  setenv("DISPLAY", server.Display().c_str(), 1);
  Display display(server.Display());
  vsthost::PluginLibrary library(VARNIS_PATH);
  vsthost::Host host(library);
  ASSERT_NE(host.Instantiate(), nullptr);
  host.Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(kRate));
  host.Dispatch(effSetBlockSize, 0, kBlock);
  host.Dispatch(effMainsChanged, 0, 1);
  const xcb_window_t parent = display.Parent(24, 0, 0, 399, 470);
  ASSERT_EQ(host.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(std::uintptr_t{parent})), 1);
  const xcb_window_t editor = OnlyChild(display.Connection(), parent);
  ASSERT_NE(editor, 0u);
  WindowDamage damage(display.Connection(), editor);
  ASSERT_TRUE(damage.Valid());

  // Silence in real time, and one idle per tick.
  std::vector<float> silence(kBlock, 0.0f), outL(kBlock), outR(kBlock);
  float* inputs[2] = {silence.data(), silence.data()};
  float* outputs[2] = {outL.data(), outR.data()};
  const Clock::time_point start = Clock::now();
  std::int64_t played = 0;
  const auto idle = [&] {
    const std::chrono::duration<double> elapsed = Clock::now() - start;
    for (; played < static_cast<std::int64_t>(elapsed.count() * kRate); played += kBlock) {
      host.ProcessReplacing(inputs, outputs, kBlock);
    }
    host.Dispatch(effEditIdle);
    std::this_thread::sleep_for(kTick);
  };

  // The correlation bar's dim end fades by single levels for about ten seconds.
  WindowDamage::Drawn settling;
  Clock::time_point lastDrawn = start;
  while (Clock::now() - start < std::chrono::seconds(12)) {
    idle();
    const WindowDamage::Drawn drawn = damage.Take();
    settling.rects += drawn.rects;
    if (drawn.rects > 0) lastDrawn = Clock::now();
  }
  EXPECT_GT(settling.rects, 0);  // the editor's own paint was seen
  std::cout << "settling: " << settling.rects << " rectangles; the last "
            << std::chrono::duration<double>(lastDrawn - start).count() << " s after the open\n";

  for (int i = 0; i < 100; ++i) idle();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));  // whatever the last idle sent has arrived
  const WindowDamage::Drawn still = damage.Take();
  EXPECT_EQ(still.rects, 0) << still.pixels << " pixels";
  EXPECT_EQ(host.Dispatch(effEditClose), 0);
}

}  // namespace
