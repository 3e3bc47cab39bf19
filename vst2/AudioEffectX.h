#pragma once

#include "vst2/AudioEffect.h"

// The VST 2.x extensions of AudioEffect with their default answers.
class AudioEffectX : public AudioEffect {
 public:
  using AudioEffect::AudioEffect;

  std::intptr_t dispatcher(std::int32_t opcode, std::int32_t index, std::intptr_t value, void* ptr,
                           float opt) override;

  virtual bool canParameterBeAutomated(std::int32_t) { return true; }
  virtual std::int32_t getNumCategories() { return 1; }
  virtual bool getProgramNameIndexed(std::int32_t, std::int32_t, char*) { return false; }
  virtual std::int32_t getPlugCategory() { return kPlugCategUnknown; }
  virtual void setBlockSizeAndSampleRate(std::int32_t blockSize, float sampleRate) {
    mBlockSize = blockSize;
    mSampleRate = sampleRate;
  }
  virtual bool getEffectName(char*) { return false; }
  virtual bool getVendorString(char*) { return false; }
  virtual bool getProductString(char*) { return false; }
  virtual std::int32_t canDo(char*) { return 0; }
  virtual std::int32_t getVstVersion() { return 2; }

  // Host queries.
  bool ioChanged() { return callHost(audioMasterIOChanged) != 0; }
  bool getHostProductString(char* text) { return callHost(audioMasterGetProductString, 0, 0, text) != 0; }
};
