// One call that the recording test plug-in received, as it hands it to the test process.
#pragma once

#include <cstdint>

enum RecorderCallKind : std::int32_t {
  kRecorderEntry = 0,  // opcode 0: VSTPluginMain, 1: main
  kRecorderDispatch,
  kRecorderProcessReplacing,
  kRecorderProcess,
  kRecorderSetParameter,
  kRecorderGetParameter,
};

struct RecorderCall {
  std::int32_t kind = 0;
  std::int32_t opcode = 0;  // dispatcher opcode; parameter index for the parameter calls
  std::int32_t index = 0;
  std::intptr_t value = 0;
  void* ptr = nullptr;
  float opt = 0.0f;
  float* inputs[2] = {};  // the channel pointers as they were during the call
  float* outputs[2] = {};
  std::int32_t frames = 0;
};

// The test program defines this (and exports it); the plug-in looks it up at each call, so
// the record outlives the plug-in's library.
using RecorderSink = void (*)(const RecorderCall* call);
inline constexpr const char* kRecorderSinkName = "recorder_sink";

// Fixed answers of the recorder that tests compare against.
inline constexpr std::intptr_t kRecorderAnswerBase = 1000;  // most opcodes answer this + opcode
inline constexpr std::intptr_t kRecorderVu = 16383;
inline constexpr float kRecorderParameter = 0.25f;
inline constexpr const char kRecorderChunk[] = "recorded bank";
