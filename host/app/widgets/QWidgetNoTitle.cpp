#include "host/app/widgets/QWidgetNoTitle.h"

#include "host/app/widgets/QMaxMinToolBar.h"

#include <QColor>
#include <QMouseEvent>
#include <QPainter>
#include <QPropertyAnimation>

#include <cmath>

namespace tolvaran {

QWidgetNoTitle::QWidgetNoTitle(QWidget* parent) : QWidget(parent) {
  setWindowFlags(Qt::FramelessWindowHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint);
  setAttribute(Qt::WA_TranslucentBackground);
}

void QWidgetNoTitle::set_title_tool_bar(int buttons) {
  if (!tool_bar_) tool_bar_ = new QMaxMinToolBar(buttons, this);
  const QRect area = rect();
  tool_bar_->move(area.right() + 1 - tool_bar_->width() - tool_bar_margin_x_,
                  area.top() + tool_bar_margin_y_);
  tool_bar_->raise();
  if (QPushButton* b = tool_bar_->close_button())
    connect(b, SIGNAL(clicked()), this, SLOT(ToolBarEmitClose()), Qt::UniqueConnection);
  if (QPushButton* b = tool_bar_->max_button())
    connect(b, SIGNAL(clicked()), this, SLOT(ToolBarEmitMax()), Qt::UniqueConnection);
  if (QPushButton* b = tool_bar_->min_button())
    connect(b, SIGNAL(clicked()), this, SLOT(ToolBarEmitMin()), Qt::UniqueConnection);
  if (QPushButton* b = tool_bar_->more_button())
    connect(b, SIGNAL(clicked()), this, SLOT(ToolBarEmitMore()), Qt::UniqueConnection);
}

void QWidgetNoTitle::ToolBarEmitClose() {
  if (emit_close_signal_) emit close_signal();
  auto* fade = new QPropertyAnimation(this, "windowOpacity", this);
  fade->setDuration(fade_duration_);
  fade->setStartValue(1.0);
  fade->setEndValue(0.0);
  connect(fade, SIGNAL(finished()), this, SLOT(close()));
  fade->start(QAbstractAnimation::DeleteWhenStopped);
}

void QWidgetNoTitle::ToolBarEmitMax() { emit BarEmitMinMax(); }
void QWidgetNoTitle::ToolBarEmitMin() { showMinimized(); }
void QWidgetNoTitle::ToolBarEmitMore() { hide(); }

void QWidgetNoTitle::mousePressEvent(QMouseEvent* event) {
  mouse_down_ = true;
  const QPoint at = event->pos();
  const bool in_band =
      !tool_bar_ || (at.y() <= tool_bar_->geometry().bottom() && at.x() <= tool_bar_->geometry().right());
  if (!in_band) {
    dragging_ = false;
    return;
  }
  dragging_ = true;
  if (event->button() == Qt::LeftButton) drag_offset_ = event->globalPos() - frameGeometry().topLeft();
  QWidget::mousePressEvent(event);
}

void QWidgetNoTitle::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_ || !(event->buttons() & Qt::LeftButton)) return;
  move(event->globalPos() - drag_offset_);
  if (centre_move_) {
    centre_ = geometry().center();
    emit centor_move_dst_change_signal(centre_);
  }
}

void QWidgetNoTitle::mouseReleaseEvent(QMouseEvent* event) {
  mouse_down_ = false;
  QWidget::mouseReleaseEvent(event);
}

void QWidgetNoTitle::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const int insets[] = {10, 9, 8, 7, 6};
  for (int i = 0; i < 5; ++i) {
    const int alpha = static_cast<int>(100.0 - 60.0 * std::sqrt(static_cast<double>(i)));
    if (alpha < 0) continue;
    painter.setPen(QColor(209, 209, 209, alpha));
    const int inset = insets[i];
    painter.drawRect(rect().adjusted(inset, inset, -inset, -inset));
  }
  painter.end();
  QWidget::paintEvent(event);
}

}  // namespace tolvaran
