// The VST 2 C interface as both deliverables speak it: the effect record, the editor
// rectangle, the flags, the opcode numbers and the function types. Written from the
// publicly documented layout; the static_asserts pin it.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#define VST2_CALLBACK __cdecl
#else
#define VST2_CALLBACK
#endif

extern "C" {

struct AEffect;

using audioMasterCallback = std::intptr_t(VST2_CALLBACK*)(AEffect* effect, std::int32_t opcode,
                                                          std::int32_t index, std::intptr_t value, void* ptr,
                                                          float opt);
using AEffectDispatcherProc = std::intptr_t(VST2_CALLBACK*)(AEffect* effect, std::int32_t opcode,
                                                            std::int32_t index, std::intptr_t value,
                                                            void* ptr, float opt);
using AEffectProcessProc = void(VST2_CALLBACK*)(AEffect* effect, float** inputs, float** outputs,
                                                std::int32_t sampleFrames);
using AEffectProcessDoubleProc = void(VST2_CALLBACK*)(AEffect* effect, double** inputs, double** outputs,
                                                      std::int32_t sampleFrames);
using AEffectSetParameterProc = void(VST2_CALLBACK*)(AEffect* effect, std::int32_t index, float parameter);
using AEffectGetParameterProc = float(VST2_CALLBACK*)(AEffect* effect, std::int32_t index);
using VstPluginMainProc = AEffect*(VST2_CALLBACK*)(audioMasterCallback host);

struct AEffect {
  std::int32_t magic;
  AEffectDispatcherProc dispatcher;
  AEffectProcessProc process;
  AEffectSetParameterProc setParameter;
  AEffectGetParameterProc getParameter;
  std::int32_t numPrograms;
  std::int32_t numParams;
  std::int32_t numInputs;
  std::int32_t numOutputs;
  std::int32_t flags;
  std::intptr_t resvd1;
  std::intptr_t resvd2;
  std::int32_t initialDelay;
  std::int32_t realQualities;
  std::int32_t offQualities;
  float ioRatio;
  void* object;
  void* user;
  std::int32_t uniqueID;
  std::int32_t version;
  AEffectProcessProc processReplacing;
  AEffectProcessDoubleProc processDoubleReplacing;
  char future[56];
};

struct ERect {
  std::int16_t top;
  std::int16_t left;
  std::int16_t bottom;
  std::int16_t right;
};

}  // extern "C"

#if INTPTR_MAX == INT64_MAX
static_assert(sizeof(AEffect) == 192, "AEffect size on 64-bit");
static_assert(offsetof(AEffect, dispatcher) == 8, "AEffect::dispatcher");
static_assert(offsetof(AEffect, numPrograms) == 40, "AEffect::numPrograms");
static_assert(offsetof(AEffect, resvd1) == 64, "AEffect::resvd1");
static_assert(offsetof(AEffect, initialDelay) == 80, "AEffect::initialDelay");
static_assert(offsetof(AEffect, object) == 96, "AEffect::object");
static_assert(offsetof(AEffect, uniqueID) == 112, "AEffect::uniqueID");
static_assert(offsetof(AEffect, processReplacing) == 120, "AEffect::processReplacing");
static_assert(offsetof(AEffect, future) == 136, "AEffect::future");
#elif INTPTR_MAX == INT32_MAX
static_assert(sizeof(AEffect) == 144, "AEffect size on 32-bit");
static_assert(offsetof(AEffect, numPrograms) == 20, "AEffect::numPrograms");
static_assert(offsetof(AEffect, object) == 64, "AEffect::object");
static_assert(offsetof(AEffect, processReplacing) == 80, "AEffect::processReplacing");
#endif
static_assert(sizeof(ERect) == 8, "ERect is four int16");

// The effect record's magic, 'VstP' with the first character in the highest byte.
constexpr std::int32_t kEffectMagic = 0x56737450;

// String buffer sizes a host provides, terminator included.
constexpr int kVstMaxProgNameLen = 24;
constexpr int kVstMaxParamStrLen = 8;
constexpr int kVstMaxEffectNameLen = 32;
constexpr int kVstMaxVendorStrLen = 64;
constexpr int kVstMaxProductStrLen = 64;

enum VstAEffectFlags : std::int32_t {
  effFlagsHasEditor = 1 << 0,
  effFlagsHasClip = 1 << 1,
  effFlagsHasVu = 1 << 2,
  effFlagsCanMono = 1 << 3,
  effFlagsCanReplacing = 1 << 4,
  effFlagsProgramChunks = 1 << 5,
  effFlagsIsSynth = 1 << 8,
  effFlagsNoSoundInStop = 1 << 9,
  effFlagsExtIsAsync = 1 << 10,
  effFlagsExtHasBuffer = 1 << 11,
  effFlagsCanDoubleReplacing = 1 << 12,
};

enum VstPlugCategory : std::int32_t {
  kPlugCategUnknown = 0,
  kPlugCategEffect,
  kPlugCategSynth,
  kPlugCategAnalysis,
  kPlugCategMastering,
  kPlugCategSpacializer,
  kPlugCategRoomFx,
  kPlugSurroundFx,
  kPlugCategRestoration,
  kPlugCategOfflineProcess,
  kPlugCategShell,
  kPlugCategGenerator,
};

enum AEffectOpcodes : std::int32_t {
  effOpen = 0,
  effClose,
  effSetProgram,
  effGetProgram,
  effSetProgramName,
  effGetProgramName,
  effGetParamLabel,
  effGetParamDisplay,
  effGetParamName,
  effGetVu,
  effSetSampleRate,
  effSetBlockSize,
  effMainsChanged,
  effEditGetRect,
  effEditOpen,
  effEditClose,
  effEditDraw,
  effEditMouse,
  effEditKey,
  effEditIdle,
  effEditTop,
  effEditSleep,
  effIdentify,
  effGetChunk,
  effSetChunk,
  effProcessEvents,
  effCanBeAutomated,
  effString2Parameter,
  effGetNumProgramCategories,
  effGetProgramNameIndexed,
  effCopyProgram,
  effConnectInput,
  effConnectOutput,
  effGetInputProperties,
  effGetOutputProperties,
  effGetPlugCategory,
  effGetCurrentPosition,
  effGetDestinationBuffer,
  effOfflineNotify,
  effOfflinePrepare,
  effOfflineRun,
  effProcessVarIo,
  effSetSpeakerArrangement,
  effSetBlockSizeAndSampleRate,
  effSetBypass,
  effGetEffectName,
  effGetErrorText,
  effGetVendorString,
  effGetProductString,
  effGetVendorVersion,
  effVendorSpecific,
  effCanDo,
  effGetTailSize,
  effIdle,
  effGetIcon,
  effSetViewPosition,
  effGetParameterProperties,
  effKeysRequired,
  effGetVstVersion,
  effEditKeyDown,
  effEditKeyUp,
  effSetEditKnobMode,
  effGetMidiProgramName,
  effGetCurrentMidiProgram,
  effGetMidiProgramCategory,
  effHasMidiProgramsChanged,
  effGetMidiKeyName,
  effBeginSetProgram,
  effEndSetProgram,
  effGetSpeakerArrangement,
  effShellGetNextPlugin,
  effStartProcess,
  effStopProcess,
  effSetTotalSampleToProcess,
  effSetPanLaw,
  effBeginLoadBank,
  effBeginLoadProgram,
  effSetProcessPrecision,
  effGetNumMidiInputChannels,
  effGetNumMidiOutputChannels,
  effNumOpcodes
};
static_assert(effGetChunk == 23 && effCanDo == 51 && effGetVstVersion == 58 && effEndSetProgram == 68,
              "opcode numbering");

enum AudioMasterOpcodes : std::int32_t {
  audioMasterAutomate = 0,
  audioMasterVersion,
  audioMasterCurrentId,
  audioMasterIdle,
  audioMasterPinConnected,
  audioMasterUnused5,
  audioMasterWantMidi,
  audioMasterGetTime,
  audioMasterProcessEvents,
  audioMasterSetTime,
  audioMasterTempoAt,
  audioMasterGetNumAutomatableParameters,
  audioMasterGetParameterQuantization,
  audioMasterIOChanged,
  audioMasterNeedIdle,
  audioMasterSizeWindow,
  audioMasterGetSampleRate,
  audioMasterGetBlockSize,
  audioMasterGetInputLatency,
  audioMasterGetOutputLatency,
  audioMasterGetPreviousPlug,
  audioMasterGetNextPlug,
  audioMasterWillReplaceOrAccumulate,
  audioMasterGetCurrentProcessLevel,
  audioMasterGetAutomationState,
  audioMasterOfflineStart,
  audioMasterOfflineRead,
  audioMasterOfflineWrite,
  audioMasterOfflineGetCurrentPass,
  audioMasterOfflineGetCurrentMetaPass,
  audioMasterSetOutputSampleRate,
  audioMasterGetOutputSpeakerArrangement,
  audioMasterGetVendorString,
  audioMasterGetProductString,
  audioMasterGetVendorVersion,
  audioMasterVendorSpecific,
  audioMasterSetIcon,
  audioMasterCanDo,
  audioMasterGetLanguage,
  audioMasterOpenWindow,
  audioMasterCloseWindow,
  audioMasterGetDirectory,
  audioMasterUpdateDisplay,
  audioMasterBeginEdit,
  audioMasterEndEdit,
  audioMasterOpenFileSelector,
  audioMasterCloseFileSelector,
  audioMasterEditFile,
  audioMasterGetChunkFile,
  audioMasterGetInputSpeakerArrangement,
  audioMasterNumOpcodes
};
static_assert(audioMasterGetProductString == 33 && audioMasterCanDo == 37 && audioMasterUpdateDisplay == 42,
              "host opcode numbering");
