// Where the plug-in window goes and how big it is: a crop of the editor parked at a corner. The
// editor draws in device pixels, so the crop, the margin and the offsets are device pixels at
// every scale of the desktop.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace tolvaran {

// The window is this much narrower and lower than the editor, and starts this far above the
// screen, so that only the editor's phase scope shows.
inline constexpr int kCropWidth = 185;
inline constexpr int kCropHeight = 160;
inline constexpr int kAboveScreen = 113;
inline constexpr int kLeftOfScreen = 10;
inline constexpr int kFromRightEdge = 200;
// The editor sits this far in from the window's left and top edges.
inline constexpr int kEditorMargin = 2;

// The window's size for an editor of editor_width x editor_height; never negative.
QSize plugin_window_size(int editor_width, int editor_height);

// The window's top-left corner on a screen whose available area is available.
QPoint top_left_corner(const QRect& available);
QPoint top_right_corner(const QRect& available);

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
