#pragma once

#include <signal.h>

// Keeps a write to a closed socket from killing the host: SIGPIPE is blocked for this thread
// while the guard lives and a SIGPIPE raised meanwhile is taken back. No process-wide handler.
class SigpipeGuard {
 public:
  SigpipeGuard();
  ~SigpipeGuard();
  SigpipeGuard(const SigpipeGuard&) = delete;
  SigpipeGuard& operator=(const SigpipeGuard&) = delete;

 private:
  sigset_t mSaved{};
  bool mWasPending = false;
};
