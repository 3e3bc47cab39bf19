// A VST 2 effect that does nothing but report every call it gets to the test process, and
// pass its two inputs to its two outputs. Compile definitions make the loading variants.
#include "tests/plugins/recorder/RecorderCall.h"
#include "vst2/Vst2Interface.h"

#include <dlfcn.h>
#include <time.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#ifndef RECORDER_CATEGORY
#define RECORDER_CATEGORY kPlugCategAnalysis
#endif
#ifndef RECORDER_FLAGS
#define RECORDER_FLAGS (effFlagsHasEditor | effFlagsCanReplacing | effFlagsProgramChunks)
#endif

namespace {

AEffect effect_record{};
audioMasterCallback host = nullptr;
ERect editor_rect{0, 0, 470, 399};

std::FILE* log_file() {
  static std::FILE* file = [] {
    const char* path = std::getenv(kRecorderLogVariable);
    return path && *path ? std::fopen(path, "a") : nullptr;
  }();
  return file;
}

void report(RecorderCall& call) {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  call.time_ns = std::int64_t{now.tv_sec} * 1000000000 + now.tv_nsec;
  if (auto sink = reinterpret_cast<RecorderSink>(dlsym(RTLD_DEFAULT, kRecorderSinkName))) {
    sink(&call);
  } else if (std::FILE* file = log_file()) {
    std::fprintf(file, "%d %d %d %" PRIdPTR " %.9g %d %.17g %.17g %" PRId64 " %" PRIuPTR "\n", call.kind,
                 call.opcode, call.index, call.value, static_cast<double>(call.opt), call.frames,
                 call.energy[0], call.energy[1], call.time_ns, reinterpret_cast<std::uintptr_t>(call.ptr));
    std::fflush(file);
  }
}

std::intptr_t dispatcher(AEffect* effect, std::int32_t opcode, std::int32_t index, std::intptr_t value,
                         void* ptr, float opt) {
  RecorderCall call;
  call.kind = kRecorderDispatch;
  call.opcode = opcode;
  call.index = index;
  call.value = value;
  call.ptr = ptr;
  call.opt = opt;
  report(call);
  switch (opcode) {
    case effGetPlugCategory:
      return RECORDER_CATEGORY;
    case effGetVu:
      return kRecorderVu;
    case effEditGetRect:
      *static_cast<ERect**>(ptr) = &editor_rect;
      return 1;
    case effGetChunk:
      *static_cast<const void**>(ptr) = kRecorderChunk;
      return sizeof kRecorderChunk;
    case effEditIdle:
      // Asks the host for idle from inside idle, as some editors do.
      host(effect, audioMasterIdle, 0, 0, nullptr, 0.0f);
      return 0;
    case effClose:
      // Some plug-ins still call their host while they close.
      host(effect, audioMasterIdle, 0, 0, nullptr, 0.0f);
      host(effect, audioMasterSizeWindow, 0, 0, nullptr, 0.0f);
      return kRecorderAnswerBase + opcode;
    default:
      return kRecorderAnswerBase + opcode;
  }
}

void process_replacing(AEffect*, float** inputs, float** outputs, std::int32_t frames) {
  RecorderCall call;
  call.kind = kRecorderProcessReplacing;
  for (int c = 0; c < 2; ++c) {
    call.inputs[c] = inputs[c];
    call.outputs[c] = outputs[c];
  }
  call.frames = frames;
  for (int c = 0; c < 2; ++c)
    for (std::int32_t i = 0; i < frames; ++i) call.energy[c] += double{inputs[c][i]} * inputs[c][i];
  report(call);
  for (int c = 0; c < 2; ++c) std::memcpy(outputs[c], inputs[c], sizeof(float) * static_cast<size_t>(frames));
}

void process(AEffect*, float** inputs, float** outputs, std::int32_t frames) {
  RecorderCall call;
  call.kind = kRecorderProcess;
  for (int c = 0; c < 2; ++c) {
    call.inputs[c] = inputs[c];
    call.outputs[c] = outputs[c];
  }
  call.frames = frames;
  report(call);
}

void set_parameter(AEffect*, std::int32_t index, float value) {
  RecorderCall call;
  call.kind = kRecorderSetParameter;
  call.opcode = index;
  call.opt = value;
  report(call);
}

float get_parameter(AEffect*, std::int32_t index) {
  RecorderCall call;
  call.kind = kRecorderGetParameter;
  call.opcode = index;
  report(call);
  return kRecorderParameter;
}

AEffect* entry(audioMasterCallback callback, std::int32_t which) {
  RecorderCall call;
  call.kind = kRecorderEntry;
  call.opcode = which;
  report(call);
#ifdef RECORDER_THROWS
  throw std::runtime_error("entry point fails");
#endif
#ifdef RECORDER_NULL_EFFECT
  return nullptr;
#endif
  host = callback;
  effect_record = AEffect{};
#ifdef RECORDER_BAD_MAGIC
  effect_record.magic = 0x56737458;  // 'VstX'
#else
  effect_record.magic = kEffectMagic;
#endif
  effect_record.dispatcher = dispatcher;
  effect_record.process = process;
  effect_record.setParameter = set_parameter;
  effect_record.getParameter = get_parameter;
  effect_record.numPrograms = 1;
  effect_record.numParams = 1;
  effect_record.numInputs = 2;
  effect_record.numOutputs = 2;
  effect_record.flags = RECORDER_FLAGS;
  effect_record.uniqueID = 0x52656364;  // 'Recd'
  effect_record.processReplacing = process_replacing;
  return &effect_record;
}

}  // namespace

#ifndef RECORDER_NO_VSTPLUGINMAIN
extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback callback) {
  return entry(callback, 0);
}
#endif

#ifndef RECORDER_NO_MAIN
// Exported under the name "main", which C++ reserves for the program's own.
extern "C" __attribute__((visibility("default"))) AEffect* recorder_main(
    audioMasterCallback callback) __asm__("main");
AEffect* recorder_main(audioMasterCallback callback) { return entry(callback, 1); }
#endif

#if defined(RECORDER_NO_VSTPLUGINMAIN) && defined(RECORDER_NO_MAIN)
// An entry point under a name no host looks for.
extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMainElsewhere(
    audioMasterCallback callback) {
  return entry(callback, 2);
}
#endif
