#include <gtest/gtest.h>

#include <atomic>
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
