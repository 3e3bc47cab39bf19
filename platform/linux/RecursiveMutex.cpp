#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "platform/PlatformMutex.h"

namespace {

// The calling thread's own number, never 0. Thread ids come back once their thread has ended,
// and a hold that an ended thread left is not the hold of a new thread that gets its id.
std::uint64_t CallerNumber() {
  static std::atomic<std::uint64_t> last{0};
  thread_local const std::uint64_t number = ++last;
  return number;
}

// A monitor over the owner and its depth rather than a recursive pthread mutex, whose levels only
// their own thread may release: a hold has to be able to change threads.
class RecursiveMutex final : public PlatformMutex {
 public:
  bool Lock(bool tryOnly) override { return Acquire(tryOnly, false); }
  bool LockOrTakeOver() override { return Acquire(false, true); }

  // Only the owner releases; anyone else's call does nothing.
  void Unlock() override {
    std::lock_guard<std::mutex> lock(mState);
    if (!HeldByCaller() || mDepth == 0) return;
    if (--mDepth == 0) Released();
  }

  void SetHold(bool hold) override {
    std::lock_guard<std::mutex> lock(mState);
    if (!HeldByCaller()) return;
    mHold = hold;
    if (mDepth == 0) Released();
  }

  bool HeldByCaller() const override { return mOwner.load() == CallerNumber(); }

 private:
  bool Acquire(bool tryOnly, bool takeOver) {
    const std::uint64_t self = CallerNumber();
    std::unique_lock<std::mutex> lock(mState);
    const auto mayEnter = [&] {
      const std::uint64_t owner = mOwner.load();
      // An owner at depth 0 keeps the mutex only through its hold.
      return owner == 0 || owner == self || (takeOver && mDepth == 0);
    };
    if (tryOnly && !mayEnter()) return false;
    mChanged.wait(lock, mayEnter);
    mOwner.store(self);
    ++mDepth;
    return true;
  }

  // With mState locked, once the owner is inside no Lock: free unless held; a waiter to take
  // over may go on either way.
  void Released() {
    if (!mHold) mOwner.store(0);
    mChanged.notify_all();
  }

  std::mutex mState{};
  std::condition_variable mChanged{};
  std::atomic<std::uint64_t> mOwner{0};  // a CallerNumber; none: 0
  static_assert(std::atomic<std::uint64_t>::is_always_lock_free);
  int mDepth{0};      // with mState locked only
  bool mHold{false};  // with mState locked only
};

}  // namespace

std::unique_ptr<PlatformMutex> CreatePlatformMutex() { return std::make_unique<RecursiveMutex>(); }
