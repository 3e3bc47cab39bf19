#include "platform/linux/SigpipeGuard.h"

#include <pthread.h>

#include <ctime>

SigpipeGuard::SigpipeGuard() {
  sigset_t pending;
  sigemptyset(&pending);
  sigpending(&pending);
  mWasPending = sigismember(&pending, SIGPIPE) == 1;
  sigset_t block;
  sigemptyset(&block);
  sigaddset(&block, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &block, &mSaved);
}

SigpipeGuard::~SigpipeGuard() {
  if (!mWasPending) {
    sigset_t pending;
    sigemptyset(&pending);
    sigpending(&pending);
    if (sigismember(&pending, SIGPIPE) == 1) {
      sigset_t only;
      sigemptyset(&only);
      sigaddset(&only, SIGPIPE);
      const timespec now{};
      sigtimedwait(&only, nullptr, &now);
    }
  }
  pthread_sigmask(SIG_SETMASK, &mSaved, nullptr);
}
