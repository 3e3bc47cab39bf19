#include "tests/host/RecorderLog.h"

#include "vst2/Vst2Interface.h"

#include <dlfcn.h>

#include <mutex>

namespace {

std::mutex lock;
std::vector<RecordedCall> calls;
std::function<void(const RecordedCall&)> observer;

}  // namespace

extern "C" __attribute__((visibility("default"))) void recorder_sink(const RecorderCall* call) {
  RecordedCall copy;
  static_cast<RecorderCall&>(copy) = *call;
  if (call->kind == kRecorderDispatch && call->opcode == effSetChunk && call->ptr && call->value > 0)
    copy.chunk.assign(static_cast<const char*>(call->ptr), static_cast<size_t>(call->value));
  std::function<void(const RecordedCall&)> observe;
  {
    std::lock_guard<std::mutex> hold(lock);
    calls.push_back(copy);
    observe = observer;
  }
  if (observe) observe(copy);
}

void observe_recorded_calls(std::function<void(const RecordedCall&)> observe) {
  std::lock_guard<std::mutex> hold(lock);
  observer = std::move(observe);
}

std::vector<RecordedCall> recorded_calls() {
  std::lock_guard<std::mutex> hold(lock);
  return calls;
}

void clear_recorded_calls() {
  std::lock_guard<std::mutex> hold(lock);
  calls.clear();
}

std::vector<int32_t> recorded_opcodes() {
  std::vector<int32_t> opcodes;
  for (const RecordedCall& call : recorded_calls())
    if (call.kind == kRecorderDispatch) opcodes.push_back(call.opcode);
  return opcodes;
}

std::string recorder_path(const std::string& variant) {
  return std::string(RECORDER_DIR) + "/" + variant + ".so";
}

bool library_loaded(const std::string& path) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (handle) dlclose(handle);
  return handle != nullptr;
}
