// The host callback's answers, as a plug-in sees them.
#include "host/vst/HostCallback.h"
#include "host/vst/VstPluginEx.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

using namespace tolvaran;

namespace {

TEST(HostCallback, AnswersEveryQueryAsTheTableSays) {
  const std::map<int32_t, intptr_t> nonzero = {
      {audioMasterAutomate, 1},
      {audioMasterVersion, 2400},
      {audioMasterProcessEvents, 1},
      {audioMasterSetTime, 1},
      {audioMasterGetNumAutomatableParameters, 1},
      {audioMasterGetParameterQuantization, 1},
      {audioMasterIOChanged, 1},
      {audioMasterNeedIdle, 1},
      {audioMasterGetCurrentProcessLevel, 2},
      {audioMasterSetOutputSampleRate, 1},
      {audioMasterGetVendorString, 1},
      {audioMasterGetProductString, 1},
      {audioMasterGetVendorVersion, 1},
      {audioMasterCloseWindow, 1},
      {audioMasterUpdateDisplay, 1},
      {audioMasterOpenFileSelector, 1},
      {audioMasterCloseFileSelector, 1},
      {audioMasterEditFile, 1},
      {audioMasterGetChunkFile, 1},
  };
  int ones = 0;
  for (const auto& entry : nonzero) ones += entry.second == 1 ? 1 : 0;
  EXPECT_EQ(ones, 17);

  VstPluginEx host{QString()};
  AEffect record{};
  record.user = &host;
  for (AEffect* effect : {static_cast<AEffect*>(nullptr), &record}) {
    for (int32_t opcode = -2; opcode <= 80; ++opcode) {
      char text[kVstMaxProductStrLen] = "canDoSomething";
      const auto it = nonzero.find(opcode);
      const intptr_t expected = it == nonzero.end() ? 0 : it->second;
      EXPECT_EQ(host_callback(effect, opcode, 0, 0, text, 0.0f), expected)
          << "opcode " << opcode << (effect ? " with" : " without") << " a host object";
    }
  }
}

TEST(HostCallback, VendorAndProductStringsAreCopiedBounded) {
  struct Case {
    int32_t opcode;
    const char* text;
  };
  for (const Case& c :
       {Case{audioMasterGetVendorString, "Vornad"}, Case{audioMasterGetProductString, "Default VST Host"}}) {
    char buffer[kVstMaxProductStrLen + 8];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(host_callback(nullptr, c.opcode, 0, 0, buffer, 0.0f), 1);
    EXPECT_STREQ(buffer, c.text);
    EXPECT_EQ(buffer[std::strlen(c.text) + 1], 'x') << "nothing written past the terminator";
    EXPECT_EQ(host_callback(nullptr, c.opcode, 0, 0, nullptr, 0.0f), 0) << "a null buffer";
  }
}

}  // namespace
