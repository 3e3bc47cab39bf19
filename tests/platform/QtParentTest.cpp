// The editor's window inside a Qt widget's native window, as a Qt host gives it.
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QApplication>
#include <QWidget>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "platform/Platform.h"
#include "tests/platform/XvfbServer.h"

namespace {

struct Sink : WindowEventSink {
  void OnWindowEvent(const WindowEvent& event) override {
    exposed |= event.kind == WindowEvent::Kind::kExpose;
  }
  bool exposed = false;
};

TEST(QtParent, TheWindowShowsItsPixelsInsideAQtNativeWindowAndClosesAfterIt) {
  XvfbServer server;
  ASSERT_FALSE(server.Display().empty());
  setenv("DISPLAY", server.Display().c_str(), 1);
  setenv("QT_QPA_PLATFORM", "xcb", 1);
  int argc = 1;
  char name[] = "qt-parent-test";
  char* argv[] = {name, nullptr};
  QApplication application(argc, argv);
  auto widget = std::make_unique<QWidget>();
  widget->setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  widget->resize(300, 200);
  widget->show();
  application.processEvents();

  auto window = GetSystemPlatform().OpenWindow(widget->winId(), 256, 128);
  ASSERT_TRUE(window);
  Sink sink;
  for (int i = 0; i < 400 && !sink.exposed; ++i) {
    application.processEvents();
    window->PumpEvents(sink);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_TRUE(sink.exposed);
  std::vector<std::uint32_t> pixels(256 * 128, 0x00336699);
  window->Present({pixels.data(), 256, 128, 256}, {{0, 0, 256, 128}});

  // Read back through a connection of our own, once the server has it.
  xcb_connection_t* connection = xcb_connect(server.Display().c_str(), nullptr);
  std::uint32_t pixel = 0;
  for (int i = 0; i < 200 && pixel != 0x00336699; ++i) {
    application.processEvents();
    xcb_get_image_reply_t* image =
        xcb_get_image_reply(connection,
                            xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP,
                                          static_cast<xcb_window_t>(widget->winId()), 100, 60, 1, 1, ~0u),
                            nullptr);
    if (image) pixel = *reinterpret_cast<const std::uint32_t*>(xcb_get_image_data(image)) & 0x00FFFFFF;
    free(image);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_EQ(pixel, 0x00336699u);
  xcb_disconnect(connection);

  // The host's window goes first, as when Qt destroys a window holding the editor.
  widget.reset();
  application.processEvents();
  for (int i = 0; i < 400 && window->IsAlive(); ++i) {
    window->PumpEvents(sink);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_FALSE(window->IsAlive());
  window.reset();
}

}  // namespace
