// A VST 2 effect that does nothing but report every call it gets to the test process, and
// pass its two inputs to its two outputs. Compile definitions make the loading variants.
#include "tests/plugins/recorder/RecorderCall.h"
#include "vst2/Vst2Interface.h"

#include <dlfcn.h>

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

void report(const RecorderCall& call) {
  if (auto sink = reinterpret_cast<RecorderSink>(dlsym(RTLD_DEFAULT, kRecorderSinkName))) sink(&call);
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
