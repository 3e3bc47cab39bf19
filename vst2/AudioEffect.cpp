#include "vst2/AudioEffect.h"

#include "vst2/AEffEditor.h"

namespace {

AudioEffect* EffectOf(AEffect* effect) {
  return effect ? static_cast<AudioEffect*>(effect->object) : nullptr;
}

// No exception may cross the C interface into a host: each entry catches everything and
// answers as if the call had done nothing.
std::intptr_t DispatchEntry(AEffect* effect, std::int32_t opcode, std::int32_t index, std::intptr_t value,
                            void* ptr, float opt) {
  AudioEffect* object = EffectOf(effect);
  if (!object) return 0;
  try {
    if (opcode == effClose) {
      object->dispatcher(opcode, index, value, ptr, opt);
      delete object;
      return 1;
    }
    return object->dispatcher(opcode, index, value, ptr, opt);
  } catch (...) {
    return 0;
  }
}

void ProcessEntry(AEffect* effect, float** inputs, float** outputs, std::int32_t frames) {
  if (AudioEffect* object = EffectOf(effect)) {
    try {
      object->process(inputs, outputs, frames);
    } catch (...) {
      // The host's audio goes on without this block.
    }
  }
}

void ProcessReplacingEntry(AEffect* effect, float** inputs, float** outputs, std::int32_t frames) {
  if (AudioEffect* object = EffectOf(effect)) {
    try {
      object->processReplacing(inputs, outputs, frames);
    } catch (...) {
      // The host's audio goes on without this block.
    }
  }
}

void SetParameterEntry(AEffect* effect, std::int32_t index, float value) {
  if (AudioEffect* object = EffectOf(effect)) {
    try {
      object->setParameter(index, value);
    } catch (...) {
      // The value is not taken.
    }
  }
}

float GetParameterEntry(AEffect* effect, std::int32_t index) {
  if (AudioEffect* object = EffectOf(effect)) {
    try {
      return object->getParameter(index);
    } catch (...) {
      // Answered as a parameter at its minimum.
    }
  }
  return 0.0f;
}

}  // namespace

AudioEffect::AudioEffect(audioMasterCallback host, std::int32_t numPrograms, std::int32_t numParams)
    : mHost(host), mNumPrograms(numPrograms), mNumParams(numParams) {
  mEffect.magic = kEffectMagic;
  mEffect.dispatcher = DispatchEntry;
  mEffect.process = ProcessEntry;
  mEffect.setParameter = SetParameterEntry;
  mEffect.getParameter = GetParameterEntry;
  mEffect.processReplacing = ProcessReplacingEntry;
  mEffect.numPrograms = numPrograms;
  mEffect.numParams = numParams;
  mEffect.numInputs = 1;
  mEffect.numOutputs = 2;
  mEffect.ioRatio = 1.0f;
  mEffect.object = this;
  mEffect.uniqueID = 0x4E6F4566;  // 'NoEf'
  mEffect.version = 1;
}

AudioEffect::~AudioEffect() { mEffect.object = nullptr; }

std::intptr_t AudioEffect::dispatcher(std::int32_t opcode, std::int32_t index, std::intptr_t value, void* ptr,
                                      float opt) {
  switch (opcode) {
    case effOpen:
      open();
      return 0;
    case effClose:
      close();
      return 0;
    case effSetProgram:
      if (value >= 0 && value < mNumPrograms) setProgram(static_cast<std::int32_t>(value));
      return 0;
    case effGetProgram:
      return getProgram();
    case effSetProgramName:
      setProgramName(static_cast<char*>(ptr));
      return 0;
    case effGetProgramName:
      getProgramName(static_cast<char*>(ptr));
      return 0;
    case effGetParamLabel:
      getParameterLabel(index, static_cast<char*>(ptr));
      return 0;
    case effGetParamDisplay:
      getParameterDisplay(index, static_cast<char*>(ptr));
      return 0;
    case effGetParamName:
      getParameterName(index, static_cast<char*>(ptr));
      return 0;
    case effGetVu:
      return static_cast<std::intptr_t>(getVu() * 32767.0f);
    case effSetSampleRate:
      setSampleRate(opt);
      return 0;
    case effSetBlockSize:
      setBlockSize(static_cast<std::int32_t>(value));
      return 0;
    case effMainsChanged:
      if (value)
        resume();
      else
        suspend();
      return 0;
    case effEditGetRect:
      return mEditor ? mEditor->getRect(static_cast<ERect**>(ptr)) : 0;
    case effEditOpen:
      return mEditor ? mEditor->open(ptr) : 0;
    case effEditClose:
      if (mEditor) mEditor->close();
      return 0;
    case effEditIdle:
      if (mEditor) mEditor->idle();
      return 0;
    case effIdentify:
      return 0x4E764566;  // 'NvEf'
    case effGetChunk:
      return getChunk(static_cast<void**>(ptr), index != 0);
    case effSetChunk:
      return setChunk(ptr, static_cast<std::int32_t>(value), index != 0);
    default:
      return 0;
  }
}

void AudioEffect::process(float**, float**, std::int32_t) {}
void AudioEffect::processReplacing(float**, float**, std::int32_t) {}

std::int32_t AudioEffect::getChunk(void** data, bool) {
  if (data) *data = nullptr;
  return 0;
}

void AudioEffect::setEditor(AEffEditor* editor) {
  mEditor = editor;
  setFlag(effFlagsHasEditor, editor != nullptr);
}

void AudioEffect::setFlag(std::int32_t flag, bool state) {
  if (state)
    mEffect.flags |= flag;
  else
    mEffect.flags &= ~flag;
}

std::intptr_t AudioEffect::callHost(std::int32_t opcode, std::int32_t index, std::intptr_t value, void* ptr,
                                    float opt) {
  return mHost ? mHost(&mEffect, opcode, index, value, ptr, opt) : 0;
}

bool AudioEffect::isInputConnected(std::int32_t input) {
  return !mHost || callHost(audioMasterPinConnected, input, 0) == 0;
}

bool AudioEffect::isOutputConnected(std::int32_t output) {
  return !mHost || callHost(audioMasterPinConnected, output, 1) == 0;
}
