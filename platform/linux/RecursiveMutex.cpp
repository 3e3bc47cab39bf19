#include <pthread.h>

#include <atomic>
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
    if ((tryOnly ? pthread_mutex_trylock(&mMutex) : pthread_mutex_lock(&mMutex)) != 0) return false;
    if (mDepth++ == 0) mOwner.store(pthread_self());
    return true;
  }

  // Only the owner releases; anyone else's call does nothing.
  void Unlock() override {
    if (!HeldByCaller() || mDepth == 0) return;
    if (--mDepth == 0) mOwner.store(pthread_t{});
    pthread_mutex_unlock(&mMutex);
  }

  bool HeldByCaller() const override { return pthread_equal(mOwner.load(), pthread_self()) != 0; }

 private:
  pthread_mutex_t mMutex{};
  std::atomic<pthread_t> mOwner{};  // no thread: 0, never a pthread_self()
  static_assert(std::atomic<pthread_t>::is_always_lock_free);
  int mDepth = 0;  // touched only by the owner
};

}  // namespace

std::unique_ptr<PlatformMutex> CreatePlatformMutex() { return std::make_unique<RecursiveMutex>(); }
