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
  double energy[2] = {};     // processReplacing: sum of the squared input samples per channel
  std::int64_t time_ns = 0;  // CLOCK_MONOTONIC when the call arrived
};

// The test program defines this (and exports it); the plug-in looks it up at each call, so
// the record outlives the plug-in's library. In a program without it (Tolvaran itself) the
// plug-in appends one line per call to the file that RECORDER_LOG names, if any:
// "kind opcode index value opt frames energy_left energy_right time_ns ptr".
using RecorderSink = void (*)(const RecorderCall* call);
inline constexpr const char* kRecorderSinkName = "recorder_sink";
inline constexpr const char* kRecorderLogVariable = "RECORDER_LOG";

// Fixed answers of the recorder that tests compare against.
inline constexpr std::intptr_t kRecorderAnswerBase = 1000;  // most opcodes answer this + opcode
inline constexpr std::intptr_t kRecorderVu = 16383;
inline constexpr float kRecorderParameter = 0.25f;
inline constexpr const char kRecorderChunk[] = "recorded bank";
