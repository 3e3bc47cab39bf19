#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include "tests/support/StderrCapture.h"
#include "tests/vsthost/VstHost.h"

// Every opcode with odd but contract-keeping arguments (buffers large enough for what the
// opcode writes): the plug-in must answer without crashing and keep passing audio through.
TEST(OddHostCalls, EveryOpcodeWithOddArgumentsIsSurvived) {
  vsthost::PluginLibrary library(VARNIS_PATH);
  vsthost::Host host(library);
  ASSERT_NE(host.Instantiate(), nullptr);
  const std::int32_t indices[] = {0, 1, -1, 1000, std::numeric_limits<std::int32_t>::min()};
  const std::intptr_t values[] = {
      0, 1, -1, 4096, std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::intptr_t>::min()};
  const float opts[] = {0.0f, 48000.0f, -1.0f, std::nanf(""), INFINITY, 1e30f};
  StderrCapture quiet;
  for (std::int32_t opcode = 0; opcode < effNumOpcodes + 20; ++opcode) {
    if (opcode == effClose || opcode == effEditOpen) continue;
    for (std::int32_t index : indices) {
      for (std::intptr_t value : values) {
        for (float opt : opts) {
          std::vector<char> buffer(4096, 0);
          void* pointer = buffer.data();
          if (opcode == effGetChunk) pointer = &pointer;
          std::intptr_t safeValue = value;
          if (opcode == effSetChunk)
            safeValue = std::min<std::intptr_t>(std::max<std::intptr_t>(value, -1), 4096);
          host.Dispatch(opcode, index, safeValue, pointer, opt);
          host.Dispatch(opcode, index, opcode == effSetChunk ? 0 : safeValue, nullptr, opt);
        }
      }
    }
  }
  for (std::int32_t index : indices) {
    for (float opt : opts) {
      host.SetParameter(index, opt);
      const float value = host.GetParameter(index);
      EXPECT_TRUE(value >= 0.0f && value <= 1.0f) << index << " " << opt;
    }
  }
  host.Dispatch(effSetBlockSize, 0, 512);
  host.Dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
  host.Dispatch(effMainsChanged, 0, 1);
  std::vector<float> left(512, 0.25f), right(512, -0.75f), outLeft(512), outRight(512);
  float* inputs[] = {left.data(), right.data()};
  float* outputs[] = {outLeft.data(), outRight.data()};
  host.ProcessReplacing(inputs, outputs, 512);
  EXPECT_EQ(outLeft, left);
  EXPECT_EQ(outRight, right);
  EXPECT_EQ(host.Close(), 1);
}
