#include "host/app/PluginWindowGeometry.h"

#include <algorithm>
#include <cmath>

namespace tolvaran {

QSize plugin_window_size(int editor_width, int editor_height, qreal device_pixel_ratio) {
  const qreal ratio = device_pixel_ratio > 0 ? device_pixel_ratio : 1.0;
  auto scaled = [ratio](int device_pixels) {
    return static_cast<int>(std::lround(std::max(device_pixels, 0) / ratio));
  };
  return QSize(scaled(editor_width - kCropWidth), scaled(editor_height - kCropHeight));
}

QPoint top_left_corner(const QRect& available) {
  return QPoint(available.x() - kLeftOfScreen, available.y() - kAboveScreen);
}

QPoint top_right_corner(const QRect& available) {
  return QPoint(available.x() + available.width() - kFromRightEdge, available.y() - kAboveScreen);
}

}  // namespace tolvaran
