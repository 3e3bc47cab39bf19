// What Tolvaran asks of the X server itself, beside Qt: whether the display is there at all, a
// window's geometry in device pixels where Qt's device-independent pixels cannot name it, the
// space the panels leave on a monitor in device pixels, which Qt rounds at a fractional scale and
// does not give per monitor, and a tool window's place outside task bars and pagers.
#pragma once

#include <QRect>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

class QSocketNotifier;

struct xcb_connection_t;

namespace tolvaran {

// Empty when the X display that DISPLAY names accepts a connection; otherwise one line saying
// which display could not be reached.
std::string x_display_problem();

// UI thread. Its own connection to the server named by DISPLAY, opened on first use.
class X11Placement {
 public:
  X11Placement();
  X11Placement(const X11Placement&) = delete;
  X11Placement& operator=(const X11Placement&) = delete;
  ~X11Placement();

  // Gives the top-level X window this geometry in device pixels, after everything Qt has already
  // asked of the server, so that Qt's own rounded geometry does not land on top of it. Qt learns
  // the new geometry from the server. Without a connection, or for an empty rectangle, Qt's
  // geometry stays. At a scaled desktop Qt asks the window manager for sizes in steps of the
  // scale, which would round the size away; a top-level window is freed of those steps first.
  void place(unsigned long window, const QRect& device);

  // The part of the monitor (device pixels) that the panels' struts leave free, or the monitor's
  // part of the current desktop's work area where no panel publishes a strut; empty without a
  // connection.
  QRect work_area(const QRect& monitor);

  // Calls changed, from the event loop, after each change of the work area, the current desktop,
  // the list of windows or a window's struts, and after each one found waiting.
  void watch(std::function<void()> changed);

  // Asks for a top-level window without task-bar or pager entries: on the window itself while it
  // is unmapped, so that its next map carries it, and of the window manager once it manages the
  // window, which also restores it after a window manager dropped it at a re-map.
  void keep_off_task_bars(unsigned long window);

  // Asks the window manager to leave "show desktop" where it shows it, which shows again the
  // windows it hid; false where it does not show the desktop.
  bool leave_showing_desktop();

  // Whether the window and all its ancestors are mapped: false while minimized or hidden.
  bool viewable(unsigned long window);

 private:
  struct Atoms;

  bool connected();
  // Frees a window of Qt's size steps and has the position it asks for say where it is placed:
  // a window manager that manages the window later goes by that rather than by Qt's older one.
  void update_size_hints(unsigned long window, const QRect& device);
  // Reads the events that have come in (from the socket too where from_socket) and answers
  // whether one of them may move the work area.
  bool changes_arrived(bool from_socket);
  // A client message to the root window, as the window-manager hints ask for requests.
  void ask_window_manager(uint32_t window, uint32_t type, std::initializer_list<uint32_t> data);
  // After round trips: a change read with their replies is handed on.
  void hand_on_waiting_changes();

  xcb_connection_t* connection_ = nullptr;
  int screen_number_ = 0;
  bool connect_tried_ = false;
  std::unique_ptr<Atoms> atoms_{};
  std::function<void()> changed_{};
  std::unique_ptr<QSocketNotifier> notifier_{};
};

}  // namespace tolvaran
