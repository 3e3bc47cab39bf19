#include <gtest/gtest.h>
#include <xmmintrin.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <thread>
#include <vector>

#include "framework/services/FourCC.h"
#include "tests/plugin/TestProductFixture.h"
#include "tests/support/StderrCapture.h"

using vsthost::Host;

class Adapter : public TestProductFixture {};

struct StereoBlock {
  explicit StereoBlock(size_t frames)
      : left(frames, 0.25f), right(frames, -0.5f), outLeft(frames), outRight(frames) {}
  std::vector<float> left, right, outLeft, outRight;
  float* inputs[2] = {left.data(), right.data()};
  float* outputs[2] = {outLeft.data(), outRight.data()};
};

TEST_F(Adapter, OpcodesItDoesNotServeAnswerZero) {
  auto host = Instance();
  for (std::int32_t opcode = 0; opcode < effNumOpcodes; ++opcode) {
    switch (opcode) {
      case effClose:
      case effGetProgram:
      case effIdentify:
      case effCanBeAutomated:
      case effGetNumProgramCategories:
      case effGetProgramNameIndexed:
      case effConnectInput:
      case effConnectOutput:
      case effGetPlugCategory:
      case effSetBlockSizeAndSampleRate:
      case effGetEffectName:
      case effGetVendorString:
      case effGetProductString:
      case effCanDo:
      case effKeysRequired:
      case effGetVstVersion:
      case effGetChunk:
      case effEditGetRect:  // the editor's rectangle, filled
        continue;
      default:
        break;
    }
    char buffer[256] = {};
    EXPECT_EQ(host->Dispatch(opcode, 0, 0, opcode == effSetChunk ? nullptr : buffer), 0)
        << "opcode " << opcode;
  }
}

TEST_F(Adapter, FixedAnswers) {
  auto host = Instance();
  EXPECT_EQ(host->Dispatch(effIdentify), FourCC('N', 'v', 'E', 'f'));
  EXPECT_EQ(host->Dispatch(effGetVstVersion), 2);
  EXPECT_EQ(host->Dispatch(effKeysRequired), 1);
  EXPECT_EQ(host->Dispatch(effGetNumProgramCategories), 1);
  EXPECT_EQ(host->Dispatch(effConnectInput, 0, 1), 1);
  EXPECT_EQ(host->Dispatch(effConnectOutput, 1, 0), 1);
  EXPECT_EQ(host->Dispatch(effGetPlugCategory), kPlugCategEffect);
  EXPECT_EQ(host->Dispatch(effCanBeAutomated, 0), 1);
  EXPECT_EQ(host->Dispatch(effCanBeAutomated, 1), 0);
  EXPECT_EQ(host->Dispatch(effCanBeAutomated, 7), 0);
  EXPECT_EQ(host->Dispatch(effCanBeAutomated, -1), 0);
}

TEST_F(Adapter, CanDoAnswersForConfigurations) {
  auto host = Instance();
  const struct {
    const char* text;
    std::intptr_t answer;
  } cases[] = {{"2in2out", 1}, {"1in1out", 1}, {"1in2out", -1}, {"sendVstEvents", 0}, {"", 0}};
  for (const auto& c : cases) {
    std::string text = c.text;
    EXPECT_EQ(host->Dispatch(effCanDo, 0, 0, text.data()), c.answer) << c.text;
  }
  EXPECT_EQ(host->Dispatch(effCanDo, 0, 0, nullptr), 0);
}

TEST_F(Adapter, StringsFitTheHostBuffersAndStayTerminated) {
  auto host = Instance();
  const struct {
    std::int32_t opcode;
    std::int32_t index;
    size_t size;
    const char* expected;
  } cases[] = {
      {effGetEffectName, 0, kVstMaxEffectNameLen, "A Test Product Whose Name Is Fa"},
      {effGetProductString, 0, kVstMaxProductStrLen, "A Test Product Whose Name Is Far Too Long For Hosts"},
      {effGetVendorString, 0, kVstMaxVendorStrLen, "Quillmore"},
      {effGetParamName, 1, kVstMaxParamStrLen, "Gain Am"},
      {effGetParamName, 9, kVstMaxParamStrLen, "INVALID"},
      {effGetParamLabel, 1, kVstMaxParamStrLen, "decibel"},
      {effGetParamLabel, 2, kVstMaxParamStrLen, "Hz"},
      {effGetParamLabel, 9, kVstMaxParamStrLen, ""},
      {effGetParamDisplay, 0, kVstMaxParamStrLen, "Off"},
      {effGetParamDisplay, 9, kVstMaxParamStrLen, ""},
      {effGetProgramName, 0, kVstMaxProgNameLen, "User Config 1"},
  };
  for (const auto& c : cases) {
    bool overrun = true;
    EXPECT_EQ(host->DispatchString(c.opcode, c.index, c.size, &overrun), c.expected) << "opcode " << c.opcode;
    EXPECT_FALSE(overrun) << "opcode " << c.opcode;
  }
  for (std::int32_t opcode :
       {effGetEffectName, effGetVendorString, effGetProductString, effGetParamName, effGetParamLabel,
        effGetParamDisplay, effGetProgramName, effGetProgramNameIndexed}) {
    host->Dispatch(opcode, 0, 0, nullptr);  // a null buffer is left alone
  }
}

TEST_F(Adapter, ProgramNamesAreCutToTwentyThreeCharacters) {
  auto host = Instance();
  std::string name = "abcdefghijklmnopqrstuvwxyz";
  host->Dispatch(effSetProgramName, 0, 0, name.data());
  bool overrun = true;
  EXPECT_EQ(host->DispatchString(effGetProgramName, 0, kVstMaxProgNameLen, &overrun),
            "abcdefghijklmnopqrstuvw");
  EXPECT_FALSE(overrun);
  std::intptr_t result = 0;
  EXPECT_EQ(host->DispatchString(effGetProgramNameIndexed, 0, kVstMaxProgNameLen, &overrun, &result),
            "abcdefghijklmnopqrstuvw");
  EXPECT_EQ(result, 1);
  EXPECT_EQ(host->DispatchString(effGetProgramNameIndexed, 3, kVstMaxProgNameLen, &overrun, &result),
            "User Config 4");
  host->DispatchString(effGetProgramNameIndexed, 4, kVstMaxProgNameLen, &overrun, &result);
  EXPECT_EQ(result, 0);
  host->DispatchString(effGetProgramNameIndexed, -1, kVstMaxProgNameLen, &overrun, &result);
  EXPECT_EQ(result, 0);
}

TEST_F(Adapter, LineBreaksInProgramNamesBecomeBlanks) {
  auto host = Instance();
  std::string name = "two\r\nlines\nhere";
  host->Dispatch(effSetProgramName, 0, 0, name.data());
  EXPECT_EQ(host->DispatchString(effGetProgramName, 0, kVstMaxProgNameLen, nullptr), "two  lines here");
}

TEST_F(Adapter, ConfigurationChangesReachTheCoreOnce) {
  auto host = Instance();
  const struct {
    std::int32_t opcode;
    std::intptr_t value;
    float opt;
    const char* journal;
  } steps[] = {
      {effSetSampleRate, 0, 44100.0f, ""},
      {effSetBlockSize, 2048, 0, ""},
      {effSetBlockSize, 0, 0, "SetBlockSize 1024\n"},
      {effSetBlockSize, -512, 0, "SetBlockSize 512\n"},
      {effSetBlockSize, 512, 0, ""},
      {effSetSampleRate, 0, 48000.0f, "SetSampleRate 48000\n"},
      // Both values reach the core, by the same rules as the single opcodes.
      {effSetBlockSizeAndSampleRate, 4096, 96000.0f, "SetSampleRate 96000\nSetBlockSize 4096\n"},
      {effSetSampleRate, 0, 96000.0f, ""},
      {effSetBlockSize, 4096, 0, ""},
      {effSetBlockSizeAndSampleRate, 0, 96000.0f, "SetBlockSize 1024\n"},
      {effMainsChanged, 1, 0, "Resume\n"},
      {effMainsChanged, 0, 0, "Suspend\n"},
      {effOpen, 0, 0, "Open\n"},
  };
  for (const auto& step : steps) {
    const std::intptr_t answer = host->Dispatch(step.opcode, 0, step.value, nullptr, step.opt);
    EXPECT_STREQ(journal(), step.journal) << "opcode " << step.opcode << " value " << step.value;
    if (step.opcode == effSetBlockSizeAndSampleRate) {
      EXPECT_EQ(answer, 1);
    }
  }
}

// A change whose audio pause times out is not recorded, so the host's retry reaches the core.
TEST_F(Adapter, AConfigurationChangeThatTimesOutIsTakenWhenTheHostRetries) {
  auto host = Instance();
  auto holdHook = Hook<void (*)(bool)>("TestProductHoldHook");
  auto hookHeld = Hook<bool (*)()>("TestProductHookHeld");
  host->Dispatch(effMainsChanged, 0, 1);
  journal();
  holdHook(true);
  std::thread audio([&] {
    StereoBlock block(64);
    host->ProcessReplacing(block.inputs, block.outputs, 64);
  });
  while (!hookHeld()) std::this_thread::yield();
  {
    StderrCapture capture;
    host->Dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    host->Dispatch(effSetBlockSize, 0, 512);
    EXPECT_NE(capture.Text().find("An unknown error has occurred."), std::string::npos);
  }
  holdHook(false);
  audio.join();
  EXPECT_STREQ(journal(), "SetSampleRate 48000\nSetBlockSize 512\n");
  host->Dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
  host->Dispatch(effSetBlockSize, 0, 512);
  EXPECT_STREQ(journal(), "SetSampleRate 48000\nSetBlockSize 512\n");
  host->Dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
  host->Dispatch(effSetBlockSize, 0, 512);
  EXPECT_STREQ(journal(), "");  // now taken: the same values again are ignored
}

TEST_F(Adapter, ResumeAsksTheHostForEveryPinUnlessItIsDigitalPerformer) {
  for (const bool digitalPerformer : {false, true}) {
    Host host(*library);
    if (digitalPerformer) host.SetProductString("MOTU Digital Performer 11");
    ASSERT_NE(host.Instantiate(), nullptr);
    host.ClearCalls();
    host.Dispatch(effMainsChanged, 0, 1);
    size_t pinQueries = 0;
    for (const auto& call : host.Calls()) pinQueries += call.opcode == audioMasterPinConnected;
    EXPECT_EQ(pinQueries, digitalPerformer ? 0u : 4u);
  }
}

TEST_F(Adapter, ProgramChangesStayInRangeAndABusyOneIsAppliedWhenTheMutexIsReleased) {
  auto host = Instance();
  host->Dispatch(effSetProgram, 0, 4);
  host->Dispatch(effSetProgram, 0, -1);
  EXPECT_STREQ(journal(), "");
  EXPECT_EQ(host->Dispatch(effGetProgram), 0);
  host->Dispatch(effSetProgram, 0, 2);
  EXPECT_STREQ(journal(), "SetProgram 2\n");
  EXPECT_EQ(host->Dispatch(effGetProgram), 2);

  auto lock = Hook<bool (*)(AEffect*, bool)>("TestProductLockMutex");
  auto unlock = Hook<void (*)(AEffect*)>("TestProductUnlockMutex");
  auto pending = Hook<int (*)(AEffect*)>("TestProductTakePendingProgram");
  std::atomic<int> stage{0};
  std::thread editor([&] {
    lock(host->Effect(), false);
    stage = 1;
    while (stage != 2) std::this_thread::yield();
    unlock(host->Effect());
  });
  while (stage != 1) std::this_thread::yield();
  host->Dispatch(effSetProgram, 0, 1);
  host->Dispatch(effSetProgram, 0, 3);
  EXPECT_STREQ(journal(), "");
  EXPECT_EQ(host->Dispatch(effGetProgram), 3);
  stage = 2;
  editor.join();
  // Whoever releases the mutex applies the latest busy change: no editor has to open for it.
  EXPECT_STREQ(journal(), "SetProgram 3\n");
  EXPECT_EQ(pending(host->Effect()), -1);

  // The holder's own change while it holds the mutex (a drag, say) waits for its last release.
  ASSERT_TRUE(lock(host->Effect(), false));
  ASSERT_TRUE(lock(host->Effect(), true));
  host->Dispatch(effSetProgram, 0, 1);
  unlock(host->Effect());
  EXPECT_STREQ(journal(), "");
  unlock(host->Effect());
  EXPECT_STREQ(journal(), "SetProgram 1\n");
  EXPECT_EQ(pending(host->Effect()), -1);
}

TEST_F(Adapter, ParametersMapBetweenTheHostRangeAndTheDescriptor) {
  auto host = Instance();
  host->SetParameter(1, 0.5f);
  EXPECT_FLOAT_EQ(host->GetParameter(1), 0.5f);
  EXPECT_EQ(host->DispatchString(effGetParamDisplay, 1, kVstMaxParamStrLen, nullptr), "-24.0");
  host->SetParameter(1, 7.0f);
  EXPECT_FLOAT_EQ(host->GetParameter(1), 1.0f);
  host->SetParameter(1, std::nanf(""));
  EXPECT_FLOAT_EQ(host->GetParameter(1), 1.0f);
  host->SetParameter(0, 1.0f);
  EXPECT_EQ(host->DispatchString(effGetParamDisplay, 0, kVstMaxParamStrLen, nullptr), "On");
  host->SetParameter(99, 0.5f);
  host->SetParameter(-1, 0.5f);
  EXPECT_EQ(host->GetParameter(99), 0.0f);
  EXPECT_EQ(host->GetParameter(-1), 0.0f);
}

// setParameter runs without the plug-in's floating-point guard, in whatever state the host
// keeps: here one that traps invalid operations, which any arithmetic on a signalling NaN raises.
TEST_F(Adapter, ASignallingNaNChangesNoParameterEvenWhereInvalidOperationsTrap) {
  auto host = Instance();
  host->SetParameter(1, 0.5f);
  const std::uint32_t signalling = 0x7FA00000u;
  float value = 0.0f;
  std::memcpy(&value, &signalling, sizeof value);
  const unsigned int control = _mm_getcsr();
  _mm_setcsr(control & ~static_cast<unsigned int>(_MM_MASK_INVALID));
  host->SetParameter(1, value);
  _mm_setcsr(control);
  EXPECT_FLOAT_EQ(host->GetParameter(1), 0.5f);
}

TEST_F(Adapter, ParameterChangesAreDeliveredAtIdleOnceWithTheLatestValue) {
  auto host = Instance();
  host->SetParameter(1, 0.25f);
  host->SetParameter(1, 0.5f);
  host->SetParameter(2, 0.5f);  // editor-only, editor closed: lost
  EXPECT_STREQ(journal(), "");
  idle(host->Effect());
  EXPECT_STREQ(journal(), "OnParameterChange 1 -24\n");
  idle(host->Effect());
  EXPECT_STREQ(journal(), "");
  setEditorOpen(true);
  idle(host->Effect());
  EXPECT_STREQ(journal(), "");
  host->SetParameter(2, 0.0f);
  idle(host->Effect());
  EXPECT_STREQ(journal(), "OnParameterChange 2 20\n");
}

TEST_F(Adapter, ReplacingAndAccumulatingCalls) {
  auto host = Instance();
  std::vector<float> left(64, 0.25f), right(64, -0.5f), outLeft(64, 3.0f), outRight(64, 3.0f);
  float* inputs[] = {left.data(), right.data()};
  float* outputs[] = {outLeft.data(), outRight.data()};
  host->ProcessReplacing(inputs, outputs, 64);
  EXPECT_EQ(outLeft[63], 1.25f);
  EXPECT_EQ(outRight[0], 0.5f);
  host->Process(inputs, outputs, 64);
  EXPECT_EQ(outLeft[10], 2.5f);
  EXPECT_EQ(outRight[10], 1.0f);
  for (std::int32_t frames : {0, -5}) {
    host->ProcessReplacing(inputs, outputs, frames);
    host->Process(inputs, outputs, frames);
  }
  EXPECT_EQ(outLeft[0], 2.5f);
  host->ProcessReplacing(nullptr, outputs, 64);
  host->ProcessReplacing(inputs, nullptr, 64);
}

TEST_F(Adapter, AudioEntriesComputeWithMaskedExceptionsAndRoundToNearest) {
  auto host = Instance();
  auto hookCsr = Hook<unsigned (*)()>("TestProductHookCsr");
  auto parameterCsr = Hook<unsigned (*)()>("TestProductParameterCsr");
  StereoBlock block(16);
  const unsigned saved = _mm_getcsr();
  // The host computes with flush-to-zero, rounding towards zero and division by zero unmasked.
  const unsigned hostCsr = (saved & ~0x7F80u & ~0x003Fu) | 0x8000u | 0x6000u | 0x1D80u;
  _mm_setcsr(hostCsr);
  host->ProcessReplacing(block.inputs, block.outputs, 16);
  const unsigned afterProcess = _mm_getcsr();
  host->Process(block.inputs, block.outputs, 16);
  host->SetParameter(1, 0.5f);
  _mm_setcsr(saved);
  EXPECT_EQ(afterProcess, hostCsr);
  EXPECT_EQ(hookCsr() & 0xFFC0u, 0x8000u | 0x1F80u);       // all masked, nearest, flush-to-zero kept
  EXPECT_EQ(parameterCsr() & 0xFFC0u, hostCsr & 0xFFC0u);  // parameter calls leave it alone
}
