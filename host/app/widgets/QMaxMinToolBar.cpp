#include "host/app/widgets/QMaxMinToolBar.h"

#include <QHBoxLayout>

namespace tolvaran {

QMaxMinToolBar::QMaxMinToolBar(QWidget* parent) : QWidget(parent) { set_up(); }

QMaxMinToolBar::QMaxMinToolBar(int buttons, QWidget* parent) : QWidget(parent), buttons_(buttons) {
  set_up();
}

void QMaxMinToolBar::set_up() {
  if (!buttons_) return;
  const int kinds[] = {More, Minimize, Maximize, Close};
  int count = 0;
  for (int kind : kinds) count += (buttons_ & kind) ? 1 : 0;
  width_ = button_width_ * count;
  height_ = button_height_;
  resize(width_, height_);

  auto* layout = new QHBoxLayout(this);
  layout->setSpacing(0);
  layout->setContentsMargins(0, 0, 0, 0);
  auto add = [&](int kind, const char* name) -> QPushButton* {
    if (!(buttons_ & kind)) return nullptr;
    auto* button = new QPushButton(this);
    button->setCheckable(true);
    button->setChecked(true);
    button->setFixedSize(button_width_, button_height_);
    button->setObjectName(QString::fromLatin1(name));
    layout->addWidget(button);
    return button;
  };
  more_ = add(More, "user_window_more_btn");
  min_ = add(Minimize, "user_window_min_btn");
  max_ = add(Maximize, "user_window_max_btn");
  close_ = add(Close, "user_window_close_btn");
}

}  // namespace tolvaran
