#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/PlatformMutex.h"

TEST(PlatformMutex, RecursiveForItsOwnerAndRefusedToOthersWhenTried) {
  auto mutex = CreatePlatformMutex();
  ASSERT_TRUE(mutex->Lock(false));
  EXPECT_TRUE(mutex->Lock(true));  // the owner may enter again
  bool otherTry = true;
  std::thread([&] {
    otherTry = mutex->Lock(true);
    mutex->Unlock();  // not the owner: no effect
  }).join();
  EXPECT_FALSE(otherTry);
  mutex->Unlock();
  std::thread([&] { otherTry = mutex->Lock(true); }).join();
  EXPECT_FALSE(otherTry);  // still held once
  mutex->Unlock();
  std::atomic<bool> acquired{false};
  std::thread waiter([&] {
    acquired = mutex->Lock(false);
    mutex->Unlock();
  });
  waiter.join();
  EXPECT_TRUE(acquired);
}

TEST(PlatformMutex, AHoldOutlivesItsOwnersLocksAndItsThreadAndPassesToWhoTakesItOver) {
  auto mutex = CreatePlatformMutex();
  std::thread([&] {
    ASSERT_TRUE(mutex->Lock(false));
    mutex->SetHold(true);
    mutex->Unlock();
    EXPECT_TRUE(mutex->HeldByCaller());
    EXPECT_TRUE(mutex->Lock(true));  // still recursive for its owner
    mutex->Unlock();
  }).join();
  // The ended thread's hold keeps others out, a new thread with the ended one's id too.
  bool otherTry = true;
  std::thread([&] {
    otherTry = mutex->Lock(true);
    if (otherTry) mutex->Unlock();
  }).join();
  EXPECT_FALSE(otherTry);
  EXPECT_FALSE(mutex->Lock(true));
  mutex->SetHold(false);  // not the owner: no effect
  EXPECT_FALSE(mutex->Lock(true));
  ASSERT_TRUE(mutex->LockOrTakeOver());
  mutex->Unlock();
  EXPECT_TRUE(mutex->HeldByCaller());  // the hold came along
  otherTry = true;
  std::thread([&] { otherTry = mutex->Lock(true); }).join();
  EXPECT_FALSE(otherTry);
  mutex->SetHold(false);
  EXPECT_FALSE(mutex->HeldByCaller());
  std::thread([&] {
    otherTry = mutex->Lock(true);
    mutex->Unlock();
  }).join();
  EXPECT_TRUE(otherTry);
}

// A take-over waits for the owner's lock to end; a plain lock waits for the hold to end as well.
TEST(PlatformMutex, ATakeOverWaitsForTheOwnersLockAndAPlainLockForTheHold) {
  auto mutex = CreatePlatformMutex();
  ASSERT_TRUE(mutex->Lock(false));
  mutex->SetHold(true);
  std::atomic<bool> tookOver{false}, locked{false};
  std::atomic<bool> endHold{false};
  std::thread plain([&] {
    locked = mutex->Lock(false);
    mutex->Unlock();
  });
  std::thread takeOver([&] {
    tookOver = mutex->LockOrTakeOver();
    mutex->Unlock();
    while (!endHold.load()) std::this_thread::yield();
    mutex->SetHold(false);
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(tookOver.load());
  mutex->Unlock();
  while (!tookOver.load()) std::this_thread::yield();
  EXPECT_FALSE(mutex->HeldByCaller());
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(locked.load());
  endHold = true;
  takeOver.join();
  plain.join();
  EXPECT_TRUE(locked.load());
}
