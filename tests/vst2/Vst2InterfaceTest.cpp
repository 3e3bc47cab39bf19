#include "vst2/Vst2Interface.h"

#include <gtest/gtest.h>

TEST(Vst2Interface, EffectMagicPutsTheFirstCharacterHighest) { EXPECT_EQ(kEffectMagic, 0x56737450); }

TEST(Vst2Interface, OpcodeNumbersMatchThePublishedInterface) {
  EXPECT_EQ(effSetBlockSizeAndSampleRate, 43);
  EXPECT_EQ(effGetEffectName, 45);
  EXPECT_EQ(effGetProductString, 48);
  EXPECT_EQ(effKeysRequired, 57);
  EXPECT_EQ(effBeginSetProgram, 67);
  EXPECT_EQ(audioMasterGetCurrentProcessLevel, 23);
  EXPECT_EQ(audioMasterGetVendorString, 32);
  EXPECT_EQ(audioMasterSizeWindow, 15);
  EXPECT_EQ(effFlagsHasEditor | effFlagsCanMono | effFlagsCanReplacing | effFlagsProgramChunks, 0x39);
}
