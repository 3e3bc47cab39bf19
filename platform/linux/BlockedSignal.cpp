#include "platform/linux/BlockedSignal.h"

#include <pthread.h>

#include <ctime>

namespace {

bool IsPending(int signal) {
  sigset_t pending;
  sigemptyset(&pending);
  sigpending(&pending);
  return sigismember(&pending, signal) == 1;
}

}  // namespace

BlockedSignal::BlockedSignal(int signal) : mSignal(signal), mWasPending(IsPending(signal)) {
  sigset_t block;
  sigemptyset(&block);
  sigaddset(&block, mSignal);
  pthread_sigmask(SIG_BLOCK, &block, &mSaved);
}

BlockedSignal::~BlockedSignal() {
  // One that was pending before is the host's, not ours to take.
  if (!mWasPending && IsPending(mSignal)) {
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, mSignal);
    const timespec now{};
    sigtimedwait(&only, nullptr, &now);
  }
  pthread_sigmask(SIG_SETMASK, &mSaved, nullptr);
}
