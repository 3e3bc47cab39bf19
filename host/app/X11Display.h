// What Tolvaran asks of the X server itself, beside Qt: whether the display is there at all, and
// a window's geometry in device pixels where Qt's device-independent pixels cannot name it.
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
  // geometry stays.
  void place(unsigned long window, const QRect& device);

 private:
  xcb_connection_t* connection_ = nullptr;
  bool connect_tried_ = false;
};

}  // namespace tolvaran
