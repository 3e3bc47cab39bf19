// A frameless, translucent window that the user drags by its top band, with an optional
// title tool bar at its top-right corner.
#pragma once

#include <QPoint>
#include <QWidget>

namespace tolvaran {

class QMaxMinToolBar;

class QWidgetNoTitle : public QWidget {
  Q_OBJECT

 public:
  explicit QWidgetNoTitle(QWidget* parent = nullptr);

  // Creates the tool bar with these buttons (when there is none), places it and wires it.
  void set_title_tool_bar(int buttons);
  QMaxMinToolBar* title_tool_bar() const { return tool_bar_; }

  void set_emit_close_signal(bool on) { emit_close_signal_ = on; }
  void set_centre_move(bool on) { centre_move_ = on; }
  int fade_duration() const { return fade_duration_; }
  bool dragging() const { return dragging_; }
  bool mouse_down() const { return mouse_down_; }

 signals:
  void close_signal();
  void BarEmitMinMax();
  void centor_move_dst_change_signal(QPoint centre);

 public slots:
  void ToolBarEmitClose();
  void ToolBarEmitMax();
  void ToolBarEmitMin();
  void ToolBarEmitMore();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  QMaxMinToolBar* tool_bar_ = nullptr;
  QPoint drag_offset_{};
  bool dragging_ = false;
  bool mouse_down_ = false;
  bool emit_close_signal_ = false;
  bool centre_move_ = false;
  int fade_duration_ = 100;
  int tool_bar_margin_x_ = 14;
  int tool_bar_margin_y_ = 10;
  QPoint centre_{};
};

}  // namespace tolvaran
