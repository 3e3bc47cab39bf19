// The title tool bar of a frameless window: more, minimise, maximise and close buttons.
#pragma once

#include <QPushButton>
#include <QSize>
#include <QWidget>

namespace tolvaran {

class QMaxMinToolBar : public QWidget {
  Q_OBJECT

 public:
  enum Button { Minimize = 1, Maximize = 2, Close = 4, More = 8 };

  explicit QMaxMinToolBar(QWidget* parent = nullptr);
  QMaxMinToolBar(int buttons, QWidget* parent = nullptr);

  QSize sizeHint() const override { return QSize(width_, height_); }

  int buttons() const { return buttons_; }
  QPushButton* close_button() const { return close_; }
  QPushButton* max_button() const { return max_; }
  QPushButton* min_button() const { return min_; }
  QPushButton* more_button() const { return more_; }

 private:
  void set_up();

  int buttons_ = Minimize | Maximize | Close;
  QPushButton* close_ = nullptr;
  QPushButton* max_ = nullptr;
  QPushButton* min_ = nullptr;
  QPushButton* more_ = nullptr;
  int height_ = 0;
  int width_ = 0;
  int button_width_ = 22;
  int button_height_ = 29;
};

}  // namespace tolvaran
