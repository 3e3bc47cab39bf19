// Where the plug-in window goes and how big it is: a crop of the editor parked at a corner.
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

// The window's size for an editor of editor_width x editor_height device pixels, in Qt's
// device-independent pixels; never negative.
QSize plugin_window_size(int editor_width, int editor_height, qreal device_pixel_ratio);

// The window's top-left corner on a screen whose available area is available.
QPoint top_left_corner(const QRect& available);
QPoint top_right_corner(const QRect& available);

}  // namespace tolvaran
