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

QRect monitor_work_area(const QRect& monitor, const QSize& screen, const std::vector<Strut>& struts,
                        const QRect& work_area) {
  const auto spans = [](int start, int end, int first, int last) { return start <= last && end >= first; };
  int left = monitor.left();
  int top = monitor.top();
  int right = monitor.right() + 1;
  int bottom = monitor.bottom() + 1;
  for (const Strut& s : struts) {
    if (s.left > monitor.left() && spans(s.left_start_y, s.left_end_y, monitor.top(), monitor.bottom()))
      left = std::max(left, s.left);
    if (s.top > monitor.top() && spans(s.top_start_x, s.top_end_x, monitor.left(), monitor.right()))
      top = std::max(top, s.top);
    if (screen.width() - s.right <= monitor.right() &&
        spans(s.right_start_y, s.right_end_y, monitor.top(), monitor.bottom()))
      right = std::min(right, screen.width() - s.right);
    if (screen.height() - s.bottom <= monitor.bottom() &&
        spans(s.bottom_start_x, s.bottom_end_x, monitor.left(), monitor.right()))
      bottom = std::min(bottom, screen.height() - s.bottom);
  }
  const QRect free =
      struts.empty() ? work_area & monitor : QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
  return free.isValid() ? free : monitor;
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
