// What the recording test plug-in reported to this test program.
#pragma once

#include "tests/plugins/recorder/RecorderCall.h"

#include <functional>
#include <string>
#include <vector>

struct RecordedCall : RecorderCall {
  std::string chunk;  // the bytes handed over with effSetChunk
};

std::vector<RecordedCall> recorded_calls();
// Runs on every call as the plug-in reports it, on the plug-in's thread; empty to stop.
void observe_recorded_calls(std::function<void(const RecordedCall&)> observer);
void clear_recorded_calls();

// Dispatcher opcodes in the order received (other kinds left out).
std::vector<int32_t> recorded_opcodes();

// Full path of a built recorder variant, e.g. "recorder_synth".
std::string recorder_path(const std::string& variant);

// True while the library at this path is still loaded in the process.
bool library_loaded(const std::string& path);
