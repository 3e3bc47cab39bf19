#pragma once

#include "vst2/AudioEffect.h"

// The VST 2.x extensions of AudioEffect with their default answers.
class AudioEffectX : public AudioEffect {
 public:
  using AudioEffect::AudioEffect;

  intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) override;

  virtual bool canParameterBeAutomated(int32_t) { return true; }
  virtual int32_t getNumCategories() { return 1; }
  virtual bool getProgramNameIndexed(int32_t, int32_t, char*) { return false; }
  virtual int32_t getPlugCategory() { return kPlugCategUnknown; }
  virtual void setBlockSizeAndSampleRate(int32_t blockSize, float sampleRate) {
    mBlockSize = blockSize;
    mSampleRate = sampleRate;
  }
  virtual bool getEffectName(char*) { return false; }
  virtual bool getVendorString(char*) { return false; }
  virtual bool getProductString(char*) { return false; }
  virtual int32_t canDo(char*) { return 0; }
  virtual int32_t getVstVersion() { return 2; }

  // Host queries.
  bool ioChanged() { return callHost(audioMasterIOChanged) != 0; }
  bool getHostProductString(char* text) { return callHost(audioMasterGetProductString, 0, 0, text) != 0; }
};
