// Draws a plug-in's editor on its own, to compare pictures of Tolvaran's window with: loads the
// plug-in as Tolvaran does, opens its editor in a top-level window of the editor's size at X, Y
// (override-redirect, so no window manager moves or decorates it), prints the window's id and
// then every 50 ms feeds it 50 ms of silence and idles the editor, until SIGTERM or SIGINT.
//
// usage: lone_editor PLUGIN.so X Y
#include "tests/vsthost/VstHost.h"

#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <thread>
#include <vector>

namespace {

volatile std::sig_atomic_t gStop = 0;
void Stop(int) { gStop = 1; }

constexpr float kRate = 48000.0f;
constexpr int kBlockSize = 512;
constexpr int kFrames = 480;
constexpr int kBlocksPerIdle = 5;

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s PLUGIN.so X Y\n", argv[0]);
    return 2;
  }
  std::signal(SIGTERM, Stop);
  std::signal(SIGINT, Stop);
  try {
    vsthost::PluginLibrary library(argv[1]);
    vsthost::Host host(library);
    if (!host.Instantiate()) {
      std::fprintf(stderr, "%s: the entry point returned no effect\n", argv[1]);
      return 1;
    }
    host.Dispatch(effOpen);
    host.Dispatch(effSetSampleRate, 0, 0, nullptr, kRate);
    host.Dispatch(effSetBlockSize, 0, kBlockSize);
    host.Dispatch(effMainsChanged, 0, 1);
    ERect* rect = nullptr;
    host.Dispatch(effEditGetRect, 0, 0, &rect);
    if (!rect || rect->right <= rect->left || rect->bottom <= rect->top) {
      std::fprintf(stderr, "%s: no editor rectangle\n", argv[1]);
      return 1;
    }

    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
      std::fprintf(stderr, "cannot connect to the X display\n");
      return 1;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const xcb_window_t window = xcb_generate_id(connection);
    const uint32_t values[] = {screen->black_pixel, 1};
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root,
                      static_cast<int16_t>(std::atoi(argv[2])), static_cast<int16_t>(std::atoi(argv[3])),
                      static_cast<uint16_t>(rect->right - rect->left),
                      static_cast<uint16_t>(rect->bottom - rect->top), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
    xcb_map_window(connection, window);
    free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));

    host.Dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<uintptr_t>(window)));
    std::printf("0x%x\n", window);
    std::fflush(stdout);

    std::vector<float> silence(kFrames, 0.0f), left(kFrames), right(kFrames);
    float* inputs[] = {silence.data(), silence.data()};
    float* outputs[] = {left.data(), right.data()};
    while (!gStop) {
      for (int i = 0; i < kBlocksPerIdle; ++i) host.ProcessReplacing(inputs, outputs, kFrames);
      host.Dispatch(effEditIdle);
      host.ClearCalls();
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    host.Dispatch(effEditClose);
    host.Close();
    xcb_disconnect(connection);
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
}
