#pragma once

#include <atomic>
#include <cstdint>

#include "vst2/Vst2Interface.h"

class AEffEditor;

// The plug-in side of the effect record: owns the record, answers the host through its five
// entries and maps the VST 2.0 opcodes onto virtual operations with their default answers.
class AudioEffect {
 public:
  AudioEffect(audioMasterCallback host, std::int32_t numPrograms, std::int32_t numParams);
  virtual ~AudioEffect();
  AudioEffect(const AudioEffect&) = delete;
  AudioEffect& operator=(const AudioEffect&) = delete;

  virtual std::intptr_t dispatcher(std::int32_t opcode, std::int32_t index, std::intptr_t value, void* ptr,
                                   float opt);

  virtual void process(float** inputs, float** outputs, std::int32_t frames);
  virtual void processReplacing(float** inputs, float** outputs, std::int32_t frames);
  virtual void setParameter(std::int32_t, float) {}
  virtual float getParameter(std::int32_t) { return 0.0f; }

  virtual void open() {}
  virtual void close() {}
  virtual void setProgram(std::int32_t program) { mCurProgram = program; }
  virtual std::int32_t getProgram() { return mCurProgram.load(); }
  virtual void setProgramName(char*) {}
  virtual void getProgramName(char* name) {
    if (name) *name = 0;
  }
  virtual void getParameterLabel(std::int32_t, char* label) {
    if (label) *label = 0;
  }
  virtual void getParameterDisplay(std::int32_t, char* text) {
    if (text) *text = 0;
  }
  virtual void getParameterName(std::int32_t, char* text) {
    if (text) *text = 0;
  }
  virtual float getVu() { return 0.0f; }
  virtual std::int32_t getChunk(void** data, bool isPreset);
  virtual std::int32_t setChunk(void*, std::int32_t, bool) { return 0; }
  virtual void setSampleRate(float rate) { mSampleRate = rate; }
  virtual void setBlockSize(std::int32_t size) { mBlockSize = size; }
  virtual void suspend() {}
  virtual void resume() {}

  AEffect* getAeffect() { return &mEffect; }
  float getSampleRate() const { return mSampleRate; }
  std::int32_t getBlockSize() const { return mBlockSize; }
  AEffEditor* getEditor() const { return mEditor; }
  audioMasterCallback getHostCallback() const { return mHost; }

  void setEditor(AEffEditor* editor);
  void setUniqueID(std::int32_t id) { mEffect.uniqueID = id; }
  void setNumInputs(std::int32_t inputs) { mEffect.numInputs = inputs; }
  void setNumOutputs(std::int32_t outputs) { mEffect.numOutputs = outputs; }
  void setInitialDelay(std::int32_t delay) { mEffect.initialDelay = delay; }
  void canProcessReplacing(bool state) { setFlag(effFlagsCanReplacing, state); }
  void programsAreChunks(bool state) { setFlag(effFlagsProgramChunks, state); }
  void canMono(bool state) { setFlag(effFlagsCanMono, state); }

  std::intptr_t callHost(std::int32_t opcode, std::int32_t index = 0, std::intptr_t value = 0,
                         void* ptr = nullptr, float opt = 0.0f);
  // Pins a host does not report on count as connected.
  bool isInputConnected(std::int32_t input);
  bool isOutputConnected(std::int32_t output);

 protected:
  void setFlag(std::int32_t flag, bool state);

  AEffect mEffect{};
  audioMasterCallback mHost = nullptr;
  AEffEditor* mEditor = nullptr;
  float mSampleRate = 44100.0f;
  std::int32_t mBlockSize = 1024;
  std::int32_t mNumPrograms = 0;
  std::int32_t mNumParams = 0;
  // effGetProgram may come on any dispatcher thread while another sets it.
  std::atomic<std::int32_t> mCurProgram{0};
};
