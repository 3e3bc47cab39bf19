// SIGINT, SIGTERM and SIGHUP end the event loop with code 0, as the tray menu's quit does: a
// desktop may have no tray.
#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <memory>

namespace tolvaran {

// UI thread; one at a time. The signal handler only writes a byte to a pipe that this object
// reads on the UI thread. The signals get their old dispositions back when it goes.
class QuitOnSignals : public QObject {
  Q_OBJECT

 public:
  QuitOnSignals();
  ~QuitOnSignals() override;

 private:
  void on_signal();

  int fds_[2] = {-1, -1};
  std::unique_ptr<QSocketNotifier> notifier_{};
};

}  // namespace tolvaran
