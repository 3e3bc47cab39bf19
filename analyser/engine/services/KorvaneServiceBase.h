#pragma once

#include <atomic>
#include <cstdint>

#include "analyser/engine/services/AnalysisView.h"
#include "framework/archive/ObjectSerializerHub.h"

class PluginServices;
struct AnalysisParts;

// Common base of the analysis services: measuring objects that get every audio block and are
// saved with the settings as satellites of the plug-in object's hub.
//
// Process and ClaimParts run on the audio thread. SetServices, Setup and Reset run on the
// user-interface thread; Setup and Reset only while the plug-in guarantees that Process is not
// running.
class KorvaneServiceBase : public Serialization::ObjectSerializerSatellite {
 public:
  explicit KorvaneServiceBase(bool wantsAudio) : mWantsAudio(wantsAudio) {}
  ~KorvaneServiceBase() override = default;

  void SaveToArchive(Serialization::Archive&) override {}
  void LoadFromArchive(Serialization::Archive&) override {}
  // Before audio starts: the services' objects are made here.
  virtual void SetServices(PluginServices* services);
  virtual void Setup(float sampleRate, std::int32_t blockSize, std::int32_t channelCount);
  virtual void Reset() {}
  // One pass over the block for the parts this service claims. The plug-in runs one pass for
  // all its services together (RunAnalysisPass).
  void Process(const AnalysisView& view, std::int32_t frames);
  // Adds the measurements that this block should feed; nothing while there is no work for them.
  virtual void ClaimParts(AnalysisParts& parts);
  virtual const char* GetName() const = 0;

  PluginServices* GetPluginServices() const { return mServices; }
  bool WantsAudio() const { return mWantsAudio; }
  // True when the plug-in object has one input: its second analysis channel is silence.
  bool IsMono() const { return mMono.load(std::memory_order_relaxed); }

 private:
  static_assert(std::atomic<bool>::is_always_lock_free);

  PluginServices* mServices = nullptr;
  bool mWantsAudio = false;
  std::atomic<bool> mMono{false};
};
