#include "host/app/X11Display.h"

#include "host/app/PluginWindowGeometry.h"

#include <QGuiApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <fcntl.h>
#include <xcb/xcb.h>

#include <algorithm>
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

xcb_atom_t intern(xcb_connection_t* connection, const char* name) {
  xcb_intern_atom_reply_t* reply =
      xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, std::strlen(name), name), nullptr);
  const xcb_atom_t atom = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
  std::free(reply);
  return atom;
}

// A property of 32-bit values (cardinals, windows, atoms); empty where it is not set.
std::vector<uint32_t> values32(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property) {
  std::vector<uint32_t> values;
  if (property == XCB_ATOM_NONE) return values;
  const xcb_get_property_cookie_t cookie =
      xcb_get_property(connection, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 4096);
  if (xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr)) {
    if (reply->format == 32) {
      const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(reply));
      values.assign(data, data + xcb_get_property_value_length(reply) / 4);
    }
    std::free(reply);
  }
  return values;
}

int as_int(uint32_t value) { return static_cast<int32_t>(value); }

// _NET_WM_STRUT_PARTIAL's twelve values, or _NET_WM_STRUT's four, whose spans are whole edges.
bool read_strut(const std::vector<uint32_t>& v, const QSize& screen, Strut* strut) {
  if (v.size() >= 12) {
    *strut = Strut{as_int(v[0]), as_int(v[1]), as_int(v[2]), as_int(v[3]), as_int(v[4]),  as_int(v[5]),
                   as_int(v[6]), as_int(v[7]), as_int(v[8]), as_int(v[9]), as_int(v[10]), as_int(v[11])};
  } else if (v.size() >= 4) {
    const int last_x = screen.width() - 1;
    const int last_y = screen.height() - 1;
    *strut = Strut{as_int(v[0]), as_int(v[1]), as_int(v[2]), as_int(v[3]), 0, last_y, 0, last_y, 0, last_x, 0,
                   last_x};
  } else {
    return false;
  }
  return strut->left || strut->right || strut->top || strut->bottom;
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

struct X11Placement::Atoms {
  xcb_window_t root = XCB_WINDOW_NONE;
  xcb_atom_t work_area = XCB_ATOM_NONE;
  xcb_atom_t current_desktop = XCB_ATOM_NONE;
  xcb_atom_t client_list = XCB_ATOM_NONE;
  xcb_atom_t strut_partial = XCB_ATOM_NONE;
  xcb_atom_t strut = XCB_ATOM_NONE;
  xcb_atom_t showing_desktop = XCB_ATOM_NONE;
  xcb_atom_t wm_state = XCB_ATOM_NONE;
  xcb_atom_t state = XCB_ATOM_NONE;
  xcb_atom_t skip_taskbar = XCB_ATOM_NONE;
  xcb_atom_t skip_pager = XCB_ATOM_NONE;
};

X11Placement::X11Placement() = default;

X11Placement::~X11Placement() {
  notifier_.reset();
  if (connection_) xcb_disconnect(connection_);
}

bool X11Placement::connected() {
  if (!connect_tried_) {
    connect_tried_ = true;
    connection_ = connect_to_display(&screen_number_);
    if (connection_) {
      xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection_));
      for (int i = 0; i < screen_number_ && screens.rem; ++i) xcb_screen_next(&screens);
      atoms_ = std::make_unique<Atoms>();
      atoms_->root = screens.rem ? screens.data->root : static_cast<xcb_window_t>(XCB_WINDOW_NONE);
      atoms_->work_area = intern(connection_, "_NET_WORKAREA");
      atoms_->current_desktop = intern(connection_, "_NET_CURRENT_DESKTOP");
      atoms_->client_list = intern(connection_, "_NET_CLIENT_LIST");
      atoms_->strut_partial = intern(connection_, "_NET_WM_STRUT_PARTIAL");
      atoms_->strut = intern(connection_, "_NET_WM_STRUT");
      atoms_->showing_desktop = intern(connection_, "_NET_SHOWING_DESKTOP");
      atoms_->wm_state = intern(connection_, "WM_STATE");
      atoms_->state = intern(connection_, "_NET_WM_STATE");
      atoms_->skip_taskbar = intern(connection_, "_NET_WM_STATE_SKIP_TASKBAR");
      atoms_->skip_pager = intern(connection_, "_NET_WM_STATE_SKIP_PAGER");
      // Panels and window managers say what they reserve in properties of the root and the docks.
      const uint32_t events[] = {XCB_EVENT_MASK_PROPERTY_CHANGE};
      xcb_change_window_attributes(connection_, atoms_->root, XCB_CW_EVENT_MASK, events);
      xcb_flush(connection_);
    }
  }
  return connection_ && !xcb_connection_has_error(connection_) && atoms_->root != XCB_WINDOW_NONE;
}

void X11Placement::place(unsigned long window, const QRect& device) {
  if (!connected() || !device.isValid()) return;
  // Qt sends its requests when its event loop next waits; a round trip on its connection puts
  // them before ours.
  QGuiApplication::sync();
  update_size_hints(static_cast<xcb_window_t>(window), device);
  const uint32_t values[] = {static_cast<uint32_t>(device.x()), static_cast<uint32_t>(device.y()),
                             static_cast<uint32_t>(device.width()), static_cast<uint32_t>(device.height())};
  const uint16_t mask =
      XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH | XCB_CONFIG_WINDOW_HEIGHT;
  const xcb_void_cookie_t cookie =
      xcb_configure_window_checked(connection_, static_cast<xcb_window_t>(window), mask, values);
  // Waiting for the answer puts the window in place before Qt goes on; a refusal changes nothing.
  std::free(xcb_request_check(connection_, cookie));
  hand_on_waiting_changes();
}

void X11Placement::update_size_hints(unsigned long window, const QRect& device) {
  // WM_SIZE_HINTS: flags, then x, y, width, height, minimum, maximum, increment, aspects, base, gravity.
  constexpr uint32_t kPosition = 1 | 4;
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
    const uint32_t place[] = {static_cast<uint32_t>(device.x()), static_cast<uint32_t>(device.y()),
                              static_cast<uint32_t>(device.width()), static_cast<uint32_t>(device.height())};
    const bool placed = !(hints[0] & kPosition) || std::equal(place, place + 4, hints + 1);
    if (!placed || (hints[0] & (kResizeIncrement | kBaseSize))) {
      hints[0] &= ~(kResizeIncrement | kBaseSize);
      if (hints[0] & kPosition) std::copy(place, place + 4, hints + 1);
      xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_NORMAL_HINTS,
                          XCB_ATOM_WM_SIZE_HINTS, 32, kFields, hints);
    }
  }
  std::free(reply);
}

QRect X11Placement::work_area(const QRect& monitor) {
  if (!connected()) return QRect();
  const xcb_window_t root = atoms_->root;
  // The root's size follows the monitors; the connection's set-up tells it as it was at connect.
  QSize screen;
  if (xcb_get_geometry_reply_t* geometry =
          xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, root), nullptr)) {
    screen = QSize(geometry->width, geometry->height);
    std::free(geometry);
  }
  std::vector<Strut> struts;
  const uint32_t events[] = {XCB_EVENT_MASK_PROPERTY_CHANGE};
  for (const uint32_t client : values32(connection_, root, atoms_->client_list)) {
    // A panel that changes its struts later says so on its own window.
    xcb_change_window_attributes(connection_, client, XCB_CW_EVENT_MASK, events);
    Strut strut;
    if (read_strut(values32(connection_, client, atoms_->strut_partial), screen, &strut) ||
        read_strut(values32(connection_, client, atoms_->strut), screen, &strut))
      struts.push_back(strut);
  }
  const std::vector<uint32_t> areas = values32(connection_, root, atoms_->work_area);
  const std::vector<uint32_t> desktop = values32(connection_, root, atoms_->current_desktop);
  QRect area;
  if (areas.size() >= 4) {
    size_t at = desktop.empty() ? 0 : 4 * static_cast<size_t>(desktop[0]);
    if (at + 4 > areas.size()) at = 0;
    area = QRect(as_int(areas[at]), as_int(areas[at + 1]), as_int(areas[at + 2]), as_int(areas[at + 3]));
  }
  hand_on_waiting_changes();
  return monitor_work_area(monitor, screen, struts, area);
}

void X11Placement::watch(std::function<void()> changed) {
  if (!connected()) return;
  changed_ = std::move(changed);
  notifier_ = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(connection_), QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] {
    if (changes_arrived(true) && changed_) changed_();
  });
  hand_on_waiting_changes();
}

bool X11Placement::changes_arrived(bool from_socket) {
  bool changed = false;
  while (xcb_generic_event_t* event =
             from_socket ? xcb_poll_for_event(connection_) : xcb_poll_for_queued_event(connection_)) {
    if ((event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY) {
      const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(event);
      const xcb_atom_t a = notify->atom;
      changed =
          changed || (notify->window == atoms_->root
                          ? a == atoms_->work_area || a == atoms_->current_desktop || a == atoms_->client_list
                          : a == atoms_->strut_partial || a == atoms_->strut);
    }
    std::free(event);
  }
  return changed;
}

void X11Placement::hand_on_waiting_changes() {
  if (notifier_ && changes_arrived(false))
    QTimer::singleShot(0, notifier_.get(), [this] {
      if (changed_) changed_();
    });
}

void X11Placement::keep_off_task_bars(unsigned long window) {
  if (!connected()) return;
  const auto id = static_cast<xcb_window_t>(window);
  const xcb_atom_t skip[] = {atoms_->skip_taskbar, atoms_->skip_pager};
  // The property belongs to the window manager while it manages the window (WM_STATE set, not
  // withdrawn); before that it counts at the next map, where Qt adds its own states to it.
  const std::vector<uint32_t> managed = values32(connection_, id, atoms_->wm_state);
  if (managed.empty() || managed[0] == 0) {
    std::vector<uint32_t> states = values32(connection_, id, atoms_->state);
    for (const xcb_atom_t state : skip)
      if (std::find(states.begin(), states.end(), state) == states.end()) states.push_back(state);
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, id, atoms_->state, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(states.size()), states.data());
  }
  // A window manager that manages the window takes changes of its state only as a request;
  // one that does not manage it ignores the request.
  // add, the two states, from an application
  ask_window_manager(id, atoms_->state, {1, skip[0], skip[1], 1});
}

bool X11Placement::leave_showing_desktop() {
  if (!connected()) return false;
  const std::vector<uint32_t> showing = values32(connection_, atoms_->root, atoms_->showing_desktop);
  hand_on_waiting_changes();
  if (showing.empty() || showing[0] == 0) return false;
  ask_window_manager(atoms_->root, atoms_->showing_desktop, {0});
  return true;
}

void X11Placement::ask_window_manager(uint32_t window, uint32_t type, std::initializer_list<uint32_t> data) {
  xcb_client_message_event_t request{};
  request.response_type = XCB_CLIENT_MESSAGE;
  request.format = 32;
  request.window = window;
  request.type = type;
  std::copy(data.begin(), data.end(), request.data.data32);
  xcb_send_event(connection_, 0, atoms_->root,
                 XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT,
                 reinterpret_cast<const char*>(&request));
  xcb_flush(connection_);
  hand_on_waiting_changes();
}

bool X11Placement::viewable(unsigned long window) {
  if (!connected()) return true;
  xcb_get_window_attributes_reply_t* reply = xcb_get_window_attributes_reply(
      connection_, xcb_get_window_attributes(connection_, static_cast<xcb_window_t>(window)), nullptr);
  const bool shown = !reply || reply->map_state == XCB_MAP_STATE_VIEWABLE;
  std::free(reply);
  hand_on_waiting_changes();
  return shown;
}

}  // namespace tolvaran
