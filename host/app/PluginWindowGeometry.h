// Where the plug-in window goes and how big it is: the editor's phase scope, cropped, at a corner
// of the screen's available area. The editor draws in device pixels, so the crop, the margin and
// the window's place are device pixels at every scale of the desktop.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <vector>

namespace tolvaran {

// The part of the editor that the window shows, in the editor's own coordinates: the phase scope
// with the panel's edge around it.
inline constexpr QRect kScopeCrop{8, 111, 204, 197};
// Without an editor the display widget sits this far in from the window's edges.
inline constexpr int kEditorMargin = 2;

enum class Corner { kTopLeft, kTopRight };

// The crop of an editor of editor_width x editor_height: the scope's rectangle inside the editor,
// or the whole editor where it does not reach the scope. Empty for an empty editor.
QRect editor_crop(int editor_width, int editor_height);

// The window of this size at the corner of the available area, inside it: a window larger than
// the area is cut to it.
QRect window_at_corner(Corner corner, const QRect& available, const QSize& size);

// What one panel reserves at the edges of the whole screen, as a window's _NET_WM_STRUT_PARTIAL
// gives it: the depth taken from each edge of the screen and, along that edge, the first and last
// pixel it spans.
struct Strut {
  int left = 0;
  int right = 0;
  int top = 0;
  int bottom = 0;
  int left_start_y = 0;
  int left_end_y = 0;
  int right_start_y = 0;
  int right_end_y = 0;
  int top_start_x = 0;
  int top_end_x = 0;
  int bottom_start_x = 0;
  int bottom_end_x = 0;
};

// The part of the monitor that no panel takes, in the screen's coordinates: a strut counts where
// its span meets the monitor's and its depth reaches into the monitor. Where no panel says what
// it reserves, the monitor's part of the work area; the whole monitor where either leaves nothing.
QRect monitor_work_area(const QRect& monitor, const QSize& screen, const std::vector<Strut>& struts,
                        const QRect& work_area);

// Qt's mapping between its device-independent pixels and device pixels on one screen: both
// measure from the screen's origin, which has the same coordinates in either, and a scaled
// coordinate or length is rounded to the nearest pixel, halves up.
struct ScreenScale {
  QPoint origin{};
  qreal ratio = 1.0;

  QRect to_device(const QRect& logical) const;
  // The nearest rectangle Qt can name. Where ratio does not divide the device coordinates, Qt
  // places it up to half a device-independent pixel off.
  QRect to_logical(const QRect& device) const;
  int to_logical(int device_length) const;
};

}  // namespace tolvaran
