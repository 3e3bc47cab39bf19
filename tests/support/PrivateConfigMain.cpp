// The main of every test program: whatever a test does, the user's registry store and settings
// under ~/.config and /etc/xdg are never read or written; the program has folders of its own.
#include <gtest/gtest.h>

#include "tests/support/TemporaryConfig.h"

int main(int argc, char** argv) {
  const TemporaryConfig config;
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
