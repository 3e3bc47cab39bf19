#include "framework/services/Exceptions.h"
#include "framework/services/ThrowSites.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>

namespace {

[[noreturn]] void ThrowTimeOut() { throw AppFrame::TimeOut(&ThrowSites::kAudioPauseTimeOut); }

[[noreturn]] void ThrowResAlloc() { throw AppFrame::ResAlloc(&ThrowSites::kOffscreenImageSize); }

AppFrame::ThrowSite SiteOf(void (*fail)()) {
  try {
    fail();
  } catch (const AppFrame::Exception&) {
  }
  return AppFrame::GetLastExceptionSite();
}

bool Same(const AppFrame::ThrowSite& a, const AppFrame::ThrowSite& b) {
  return a.line == b.line && std::strcmp(a.file, b.file) == 0;
}

// Throws from two sites on two threads while this one reads: every read is one whole pair.
TEST(ServicesThreads, TheLastExceptionSiteIsAlwaysAWholePair) {
  const AppFrame::ThrowSite timeOut = SiteOf(&ThrowTimeOut);
  const AppFrame::ThrowSite resAlloc = SiteOf(&ThrowResAlloc);
  ASSERT_NE(timeOut.line, resAlloc.line);
  std::atomic<bool> stop{false};
  auto keepThrowing = [&stop](void (*fail)()) {
    while (!stop.load(std::memory_order_relaxed)) SiteOf(fail);
  };
  std::thread a(keepThrowing, &ThrowTimeOut);
  std::thread b(keepThrowing, &ThrowResAlloc);
  int mixed = 0;
  for (int i = 0; i < 20000; ++i) {
    const AppFrame::ThrowSite site = AppFrame::GetLastExceptionSite();
    if (!Same(site, timeOut) && !Same(site, resAlloc)) ++mixed;
  }
  stop = true;
  a.join();
  b.join();
  EXPECT_EQ(mixed, 0);
}

}  // namespace
