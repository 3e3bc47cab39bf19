#include "host/app/X11Display.h"

#include <QGuiApplication>

#include <fcntl.h>
#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace tolvaran {

namespace {

xcb_connection_t* connect_to_display(int* screen_number = nullptr) {
  xcb_connection_t* connection = xcb_connect(nullptr, screen_number);
  if (xcb_connection_has_error(connection)) {
    xcb_disconnect(connection);
    return nullptr;
  }
  const int fd = xcb_get_file_descriptor(connection);
  fcntl(fd, F_SETFD, fcntl(fd, F_GETFD) | FD_CLOEXEC);
  return connection;
}

// A root window property of 32-bit cardinals; empty where it is not set.
std::vector<uint32_t> root_cardinals(xcb_connection_t* connection, xcb_window_t root, const char* name) {
  std::vector<uint32_t> values;
  xcb_intern_atom_reply_t* atom =
      xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, std::strlen(name), name), nullptr);
  if (!atom) return values;
  if (atom->atom != XCB_ATOM_NONE) {
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(connection, 0, root, atom->atom, XCB_ATOM_CARDINAL, 0, 1024);
    if (xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr)) {
      if (reply->format == 32) {
        const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(reply));
        values.assign(data, data + xcb_get_property_value_length(reply) / 4);
      }
      std::free(reply);
    }
  }
  std::free(atom);
  return values;
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

bool X11Placement::connected() {
  if (!connect_tried_) {
    connect_tried_ = true;
    connection_ = connect_to_display(&screen_number_);
  }
  return connection_ && !xcb_connection_has_error(connection_);
}

void X11Placement::place(unsigned long window, const QRect& device) {
  if (!connected() || !device.isValid()) return;
  // Qt sends its requests when its event loop next waits; a round trip on its connection puts
  // them before ours.
  QGuiApplication::sync();
  drop_size_steps(static_cast<xcb_window_t>(window));
  const uint32_t values[] = {static_cast<uint32_t>(device.x()), static_cast<uint32_t>(device.y()),
                             static_cast<uint32_t>(device.width()), static_cast<uint32_t>(device.height())};
  const uint16_t mask =
      XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT;
  const xcb_void_cookie_t cookie =
      xcb_configure_window_checked(connection_, static_cast<xcb_window_t>(window), mask, values);
  // Waiting for the answer puts the window in place before Qt goes on; a refusal changes nothing.
  std::free(xcb_request_check(connection_, cookie));
}

void X11Placement::drop_size_steps(unsigned long window) {
  // WM_SIZE_HINTS: flags, then x, y, width, height, minimum, maximum, increment, aspects, base, gravity.
  constexpr uint32_t kResizeIncrement = 64;
  constexpr uint32_t kBaseSize = 256;
  constexpr uint32_t kFields = 18;
  const auto id = static_cast<xcb_window_t>(window);
  const xcb_get_property_cookie_t cookie =
      xcb_get_property(connection_, 0, id, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 0, kFields);
  xcb_get_property_reply_t* reply = xcb_get_property_reply(connection_, cookie, nullptr);
  if (!reply) return;
  if (reply->format == 32 && xcb_get_property_value_length(reply) == static_cast<int>(4 * kFields)) {
    uint32_t hints[kFields];
    std::memcpy(hints, xcb_get_property_value(reply), sizeof hints);
    if (hints[0] & (kResizeIncrement | kBaseSize)) {
      hints[0] &= ~(kResizeIncrement | kBaseSize);
      xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_NORMAL_HINTS,
                          XCB_ATOM_WM_SIZE_HINTS, 32, kFields, hints);
    }
  }
  std::free(reply);
}

QRect X11Placement::work_area() {
  if (!connected()) return QRect();
  xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection_));
  for (int i = 0; i < screen_number_ && screens.rem; ++i) xcb_screen_next(&screens);
  if (!screens.rem) return QRect();
  const xcb_window_t root = screens.data->root;
  const std::vector<uint32_t> areas = root_cardinals(connection_, root, "_NET_WORKAREA");
  const std::vector<uint32_t> desktop = root_cardinals(connection_, root, "_NET_CURRENT_DESKTOP");
  size_t at = desktop.empty() ? 0 : 4 * static_cast<size_t>(desktop[0]);
  if (at + 4 > areas.size()) at = 0;
  if (areas.size() < 4) return QRect();
  const QRect area(static_cast<int32_t>(areas[at]), static_cast<int32_t>(areas[at + 1]),
                   static_cast<int>(areas[at + 2]), static_cast<int>(areas[at + 3]));
  return area.isValid() ? area : QRect();
}

}  // namespace tolvaran
