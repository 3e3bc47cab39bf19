// What Tolvaran asks of the X server itself, beside Qt: whether the display is there at all, and
// a window's geometry in device pixels where Qt's device-independent pixels cannot name it, and
// the work area in device pixels, which Qt rounds at a fractional scale.
#pragma once

#include <QRect>

#include <string>

struct xcb_connection_t;

namespace tolvaran {

// Empty when the X display that DISPLAY names accepts a connection; otherwise one line saying
// which display could not be reached.
std::string x_display_problem();

// UI thread. Its own connection to the server named by DISPLAY, opened on first use.
class X11Placement {
 public:
  X11Placement() = default;
  X11Placement(const X11Placement&) = delete;
  X11Placement& operator=(const X11Placement&) = delete;
  ~X11Placement();

  // Gives the top-level X window this geometry in device pixels, after everything Qt has already
  // asked of the server, so that Qt's own rounded geometry does not land on top of it. Qt learns
  // the new geometry from the server. Without a connection, or for an empty rectangle, Qt's
  // geometry stays. At a scaled desktop Qt asks the window manager for sizes in steps of the
  // scale, which would round the size away; a top-level window is freed of those steps first.
  void place(unsigned long window, const QRect& device);

  // The current desktop's work area (_NET_WORKAREA) as the window manager publishes it; empty
  // without a connection or without a window manager that publishes one.
  QRect work_area();

 private:
  bool connected();
  void drop_size_steps(unsigned long window);

  xcb_connection_t* connection_ = nullptr;
  int screen_number_ = 0;
  bool connect_tried_ = false;
};

}  // namespace tolvaran
