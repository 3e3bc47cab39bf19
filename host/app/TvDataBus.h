// The process-wide hub that carries the tray menu's corner commands to the plug-in window.
#pragma once

#include <QObject>

namespace tolvaran {

// UI thread. Created on first use and never deleted.
class TvDataBus : public QObject {
  Q_OBJECT

 public:
  static TvDataBus* instance();

 signals:
  void move_to_left_signal();
  void move_to_right_signal();

 private:
  TvDataBus() = default;
};

}  // namespace tolvaran
