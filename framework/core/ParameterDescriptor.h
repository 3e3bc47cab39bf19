#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One parameter as the description registers it.
struct ParameterDescriptor {
  enum Flags : std::int32_t {
    kEditorOnly = 2,  // host changes count only while the editor is open
  };

  std::int32_t mIndex = -1;
  std::int32_t mKind = 0;  // display kind 0..8, also the index of its default unit label
  float mMinimum = 0.0f;
  float mMaximum = 1.0f;
  float mDefault = 0.0f;
  float mFifthSetting = 0.0f;
  std::int32_t mReserved = 1;
  std::string mLabel;
  std::vector<std::string> mValueNames;                  // per value: alternative texts separated by ';'
  std::vector<std::vector<std::string>> mTextsByLength;  // per value: each text at its length
  bool mAutomatable = false;
  std::int32_t mId = 0;
  std::int32_t mFlags = 0;
  const char* mInternalName = "";
};

// The host's 0..1 and the descriptor's range.
float DenormalizeValue(const ParameterDescriptor& descriptor, float normalised);
float NormalizeValue(const ParameterDescriptor& descriptor, float value);
