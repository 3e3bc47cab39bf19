#pragma once

#include <signal.h>

// Keeps a signal that a system call raises against its own thread (SIGPIPE from a write to a
// closed socket, SIGXFSZ from a write past the file-size limit) from ending the host: the signal
// is blocked for this thread while the guard lives, so the call fails with an error instead, and
// one raised meanwhile is taken back. No process-wide handler.
class BlockedSignal {
 public:
  explicit BlockedSignal(int signal);
  ~BlockedSignal();
  BlockedSignal(const BlockedSignal&) = delete;
  BlockedSignal& operator=(const BlockedSignal&) = delete;

 private:
  int mSignal = 0;
  sigset_t mSaved{};
  bool mWasPending = false;
};
