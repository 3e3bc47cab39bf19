// The tray icon's menu: home page, forum, about, the two corners and quit.
#pragma once

#include <QMenu>

namespace tolvaran {

// UI thread.
class TvTrayMenu : public QMenu {
  Q_OBJECT

 public:
  explicit TvTrayMenu(QWidget* parent = nullptr);

 public slots:
  void office_web();
  void office_bbs();
  void about_app();
  void move_to_left();
  void move_to_right();
  void quit_app();
  // Part of the menu's set of slots; nothing is connected to it and it does nothing.
  void back_to_mainwidget();
};

}  // namespace tolvaran
