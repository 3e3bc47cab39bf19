#include "framework/services/FourCC.h"

#include <gtest/gtest.h>

TEST(FourCC, PutsTheFirstCharacterHighest) {
  EXPECT_EQ(FourCC('N', 'v', 'E', 'f'), 0x4E764566);
  EXPECT_EQ(FourCC('7', '1', '8', '1'), 0x37313831);
  EXPECT_EQ(FourCC('\xFF', 0, 0, 0), static_cast<std::int32_t>(0xFF000000u));
}
