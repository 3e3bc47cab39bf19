#pragma once

#include "vst2/Vst2Interface.h"

class AudioEffect;

// Base of a plug-in's editor as the effect dispatcher sees it.
class AEffEditor {
 public:
  explicit AEffEditor(AudioEffect* effect) : mEffect(effect) {}
  virtual ~AEffEditor() = default;

  virtual bool getRect(ERect** rect) {
    if (rect) *rect = nullptr;
    return false;
  }
  virtual bool open(void* parentWindow) {
    mSystemWindow = parentWindow;
    return false;
  }
  virtual void close() { mSystemWindow = nullptr; }
  virtual void idle() {}
  virtual void update() {}
  virtual void postUpdate() {}

  AudioEffect* getEffect() const { return mEffect; }

 protected:
  AudioEffect* mEffect = nullptr;
  void* mSystemWindow = nullptr;
};
