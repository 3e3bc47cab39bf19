#include <pthread.h>

#include <stdexcept>

#include "platform/PlatformMutex.h"

namespace {

class RecursiveMutex final : public PlatformMutex {
 public:
  RecursiveMutex() {
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
    const int result = pthread_mutex_init(&mMutex, &attributes);
    pthread_mutexattr_destroy(&attributes);
    if (result != 0) throw std::runtime_error("cannot create the instance mutex");
  }
  ~RecursiveMutex() override { pthread_mutex_destroy(&mMutex); }

  bool Lock(bool tryOnly) override {
    return (tryOnly ? pthread_mutex_trylock(&mMutex) : pthread_mutex_lock(&mMutex)) == 0;
  }
  // A recursive pthread mutex refuses (EPERM) an unlock by a thread that does not own it.
  void Unlock() override { pthread_mutex_unlock(&mMutex); }

 private:
  pthread_mutex_t mMutex{};
};

}  // namespace

std::unique_ptr<PlatformMutex> CreatePlatformMutex() { return std::make_unique<RecursiveMutex>(); }
