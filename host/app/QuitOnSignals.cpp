#include "host/app/QuitOnSignals.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>

#include <atomic>

namespace tolvaran {

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
std::atomic<int> write_end{-1};
struct sigaction previous[3] = {};

void on_quit_signal(int) {
  const int saved = errno;
  const char byte = 1;
  const int fd = write_end.load();
  if (fd >= 0) [[maybe_unused]]
    const ssize_t n = write(fd, &byte, 1);
  errno = saved;
}

}  // namespace

QuitOnSignals::QuitOnSignals() {
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, fds_) != 0) return;
  write_end.store(fds_[1]);
  notifier_ = std::make_unique<QSocketNotifier>(fds_[0], QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, &QuitOnSignals::on_signal);
  struct sigaction action {};
  action.sa_handler = on_quit_signal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (size_t i = 0; i < 3; ++i) sigaction(kSignals[i], &action, &previous[i]);
}

QuitOnSignals::~QuitOnSignals() {
  if (fds_[0] < 0) return;
  for (size_t i = 0; i < 3; ++i) sigaction(kSignals[i], &previous[i], nullptr);
  write_end.store(-1);
  notifier_.reset();
  close(fds_[0]);
  close(fds_[1]);
}

void QuitOnSignals::on_signal() {
  char bytes[16];
  while (read(fds_[0], bytes, sizeof bytes) > 0) {
  }
  QCoreApplication::exit(0);
}

}  // namespace tolvaran
