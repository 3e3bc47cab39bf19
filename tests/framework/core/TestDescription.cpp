#include "tests/framework/core/TestDescription.h"

UnitTestMetaClass::UnitTestMetaClass() {
  ParameterDescriptor toggle;
  toggle.mId = kToggleId;
  toggle.mKind = 0;
  AddParameter(toggle);

  ParameterDescriptor level;
  level.mId = kLevelId;
  level.mKind = 4;
  level.mMinimum = -60.0f;
  level.mMaximum = 12.0f;
  level.mLabel = "dB";
  AddParameter(level);

  ParameterDescriptor frequency;
  frequency.mId = kFreqId;
  frequency.mKind = 6;
  frequency.mMinimum = 20.0f;
  frequency.mMaximum = 20000.0f;
  AddParameter(frequency);

  ParameterDescriptor mode;
  mode.mId = kModeId;
  mode.mKind = 1;
  mode.mMinimum = 0.0f;
  mode.mMaximum = 2.0f;
  mode.mValueNames = {"Left;L", "Centre;Mid;C", "Right;R"};
  AddParameter(mode);
}

ZEBPluginMetaClass* CreateVstKorvaneMetaClass() { return new UnitTestMetaClass(); }
