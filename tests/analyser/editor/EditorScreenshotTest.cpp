// The whole analyser editor opened by the test host inside a window of a private Xvfb while a
// signal plays; the screenshot is kept for people to look at.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "tests/platform/TestDisplay.h"
#include "tests/platform/XvfbServer.h"
#include "tests/vsthost/VstHost.h"

TEST(EditorScreenshot, TheWholeEditorShowsAnInvertedSignalAndItsAlarms) {
  XvfbServer server;
  ASSERT_FALSE(server.Display().empty());
  setenv("DISPLAY", server.Display().c_str(), 1);
  Display display(server.Display());
  vsthost::PluginLibrary library(VARNIS_PATH);
  vsthost::Host host(library);
  ASSERT_NE(host.Instantiate(), nullptr);
  host.Dispatch(effMainsChanged, 0, 1);

  const xcb_window_t parent = display.Parent(24, 0, 0, 399, 470);
  ASSERT_EQ(host.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(std::uintptr_t{parent})), 1);
  // A quiet bar first, then 3 s of an inverted tone with the editor idling as a host does.
  for (int i = 0; i < 20; ++i) {
    host.Dispatch(effEditIdle);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  const std::vector<std::uint32_t> quiet = display.Image(parent, 60, 413, 1, 1);

  constexpr int kFrames = 735;  // 1/60 s at 44.1 kHz
  std::vector<float> left(kFrames), right(kFrames), outLeft(kFrames), outRight(kFrames);
  long sample = 0;
  for (int block = 0; block < 180; ++block) {
    for (int i = 0; i < kFrames; ++i, ++sample) {
      left[i] = 0.5f * float(std::sin(2.0 * 3.14159265358979 * 440.0 * double(sample) / 44100.0));
      right[i] = -left[i];
    }
    float* inputs[] = {left.data(), right.data()};
    float* outputs[] = {outLeft.data(), outRight.data()};
    host.ProcessReplacing(inputs, outputs, kFrames);
    host.Dispatch(effEditIdle);
    std::this_thread::sleep_for(std::chrono::milliseconds(16));
  }
  const std::vector<std::uint32_t> alarmed = display.Image(parent, 60, 413, 1, 1);
  ASSERT_FALSE(quiet.empty());
  ASSERT_FALSE(alarmed.empty());
  EXPECT_NE(quiet[0] & 0xFFFFFF, alarmed[0] & 0xFFFFFF) << "the master bar shows the anti-phase alarm";
  std::system(("import -display " + server.Display() + " -window " + std::to_string(parent) + " " +
               ARTEFACT_DIR + "/analyser-editor-inverted.png 2>/dev/null")
                  .c_str());
  EXPECT_EQ(host.Dispatch(effEditClose), 0);
}
