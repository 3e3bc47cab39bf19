// The tray icon; its context menu is the program's only control.
#pragma once

#include "host/app/TvTrayMenu.h"

#include <QSystemTrayIcon>

#include <memory>

namespace tolvaran {

// UI thread. Shows itself on construction.
class TvTrayWidget : public QSystemTrayIcon {
  Q_OBJECT

 public:
  TvTrayWidget();

  TvTrayMenu* menu() const { return menu_.get(); }

 public slots:
  // Clicks on the icon do nothing: the context menu is the only control. Nothing is connected to
  // this slot and it does nothing.
  void tray_double_click(QSystemTrayIcon::ActivationReason reason);

 private:
  std::unique_ptr<TvTrayMenu> menu_{};
};

}  // namespace tolvaran
