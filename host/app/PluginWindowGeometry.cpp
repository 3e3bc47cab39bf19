#include "host/app/PluginWindowGeometry.h"

#include <algorithm>

namespace tolvaran {

QRect editor_crop(int editor_width, int editor_height) {
  const QRect editor(0, 0, std::max(editor_width, 0), std::max(editor_height, 0));
  const QRect crop = kScopeCrop & editor;
  return crop.isEmpty() ? editor : crop;
}

QRect window_at_corner(Corner corner, const QRect& available, const QSize& size) {
  const QSize inside = size.boundedTo(available.size());
  const int x =
      corner == Corner::kTopLeft ? available.x() : available.x() + available.width() - inside.width();
  return QRect(QPoint(x, available.y()), inside);
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
