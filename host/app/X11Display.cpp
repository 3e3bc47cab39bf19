#include "host/app/X11Display.h"

#include <QGuiApplication>

#include <fcntl.h>
#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>

namespace tolvaran {

namespace {

xcb_connection_t* connect_to_display() {
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection)) {
    xcb_disconnect(connection);
    return nullptr;
  }
  const int fd = xcb_get_file_descriptor(connection);
  fcntl(fd, F_SETFD, fcntl(fd, F_GETFD) | FD_CLOEXEC);
  return connection;
}

}  // namespace

std::string x_display_problem() {
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) return "Tolvaran: no X display is set (DISPLAY is empty).";
  xcb_connection_t* connection = connect_to_display();
  if (!connection) return std::string("Tolvaran: cannot connect to the X display \"") + display + "\".";
  xcb_disconnect(connection);
  return std::string();
}

X11Placement::~X11Placement() {
  if (connection_) xcb_disconnect(connection_);
}

void X11Placement::place(unsigned long window, const QRect& device) {
  if (!connect_tried_) {
    connect_tried_ = true;
    connection_ = connect_to_display();
  }
  if (!connection_ || xcb_connection_has_error(connection_) || !device.isValid()) return;
  // Qt sends its requests when its event loop next waits; a round trip on its connection puts
  // them before ours.
  QGuiApplication::sync();
  const uint32_t values[] = {static_cast<uint32_t>(device.x()), static_cast<uint32_t>(device.y()),
                             static_cast<uint32_t>(device.width()), static_cast<uint32_t>(device.height())};
  const uint16_t mask =
      XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT;
  const xcb_void_cookie_t cookie =
      xcb_configure_window_checked(connection_, static_cast<xcb_window_t>(window), mask, values);
  // Waiting for the answer puts the window in place before Qt goes on; a refusal changes nothing.
  std::free(xcb_request_check(connection_, cookie));
}

}  // namespace tolvaran
