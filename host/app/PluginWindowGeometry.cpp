#include "host/app/PluginWindowGeometry.h"

#include <algorithm>

namespace tolvaran {

QSize plugin_window_size(int editor_width, int editor_height) {
  return QSize(std::max(editor_width - kCropWidth, 0), std::max(editor_height - kCropHeight, 0));
}

QPoint top_left_corner(const QRect& available) {
  return QPoint(available.x() - kLeftOfScreen, available.y() - kAboveScreen);
}

QPoint top_right_corner(const QRect& available) {
  return QPoint(available.x() + available.width() - kFromRightEdge, available.y() - kAboveScreen);
}

QRect ScreenScale::to_device(const QRect& logical) const {
  return QRect((logical.topLeft() - origin) * ratio + origin, logical.size() * ratio);
}

QRect ScreenScale::to_logical(const QRect& device) const {
  const qreal factor = ratio > 0 ? 1.0 / ratio : 1.0;
  return QRect((device.topLeft() - origin) * factor + origin, device.size() * factor);
}

int ScreenScale::to_logical(int device_length) const {
  return ratio > 0 ? qRound(device_length / ratio) : device_length;
}

}  // namespace tolvaran
