#include "vst2/HostQuirks.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

TEST(HostQuirks, HostsAreKnownByTheirProductStringCaseSensitively) {
  const struct {
    const char* product;
    bool everyPinConnected;
    bool takesIdle;
  } cases[] = {
      {"", false, true},
      {"Default VST Host", false, true},
      {"MOTU Digital Performer 11", true, true},
      {"digital performer", false, true},
      {"sonicWORX Studio", false, false},
      {"SONICWORX", false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.product);
    EXPECT_EQ(HostQuirks::AssumesEveryPinConnected(c.product), c.everyPinConnected);
    EXPECT_EQ(HostQuirks::TakesIdleRequests(c.product), c.takesIdle);
  }
}

TEST(HostQuirks, ABlockSizeOfZeroOrLessBecomesOneTheCoreCanUse) {
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  const struct {
    std::int32_t announced;
    std::int32_t usable;
  } cases[] = {{0, 1024},        {-512, 512}, {-1, 1},      {kMin, kMax},
               {kMin + 1, kMax}, {1, 1},      {4096, 4096}, {kMax, kMax}};
  for (const auto& c : cases) EXPECT_EQ(HostQuirks::UsableBlockSize(c.announced), c.usable) << c.announced;
}

}  // namespace
