#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "analyser/editor/scope/PhaseScopeMaths.h"

// The settings of the scope that one tick reads, taken from the phase-scope configuration.
struct ScopeSettings {
  std::int32_t plotType{2};
  std::int32_t xyStyle{0};
  std::int32_t polarStyle{1};
  bool autoGain{true};
  float gainDb{0.0f};
  bool lowLevelGate{true};
  std::int32_t density{8};  // as stored; the model uses the effective value
  std::int32_t decay{2};
  bool enabled{true};
};

// What the phase scope shows, advanced once per timer tick from one scope buffer (or silence):
// the XY and polar-point layers as pixel positions, newest first, and the polar plot's held
// bins. Drawing only reads it. Everything is allocated at construction; a tick allocates
// nothing. Editor thread only.
class PhaseScopeModel {
 public:
  enum DrawMode : std::int32_t {
    kXYLines = 0,
    kXYPoints = 1,
    kPolarRays = 2,
    kPolarPoints = 3,
    kPolarLines = 4
  };

  PhaseScopeModel(std::int32_t width, std::int32_t height);

  // Forgets every layer and every held bin (density or decay changed).
  void Clear();
  // One tick. left and right hold phasescope::kFrames samples each and are only read. While
  // the settings say disabled only the draw mode follows them: the picture freezes.
  void Advance(const ScopeSettings& settings, const float* left, const float* right);
  // The draw mode the settings ask for; other values keep the mode. Each tick takes it too.
  void UpdateDrawMode(const ScopeSettings& settings);

  std::int32_t GetWidth() const { return mWidth; }
  std::int32_t GetHeight() const { return mHeight; }
  DrawMode GetDrawMode() const { return mDrawMode; }
  bool IsPolar() const { return mDrawMode >= kPolarRays; }
  bool IsCentred() const { return mCentred; }
  // Layers to draw for a decay: never more than were made since the last clear.
  std::int32_t GetLayerCount(std::int32_t decay) const;
  // Layer 0 is the newest.
  const std::vector<std::int32_t>& LayerXs(std::int32_t layer) const { return mXs[Slot(layer)]; }
  const std::vector<std::int32_t>& LayerYs(std::int32_t layer) const { return mYs[Slot(layer)]; }
  // Per bin the held amount, 0 to 1 of full scale; -1 for a bin never set.
  const std::array<float, phasescope::kMaxBins>& GetBinHold() const { return mBinHold; }
  // The gain that the last tick applied.
  float GetLastGain() const { return mLastGain; }
  // Every layer made so far, so that what paints the layers can tell which are new.
  std::uint32_t GetLayersMade() const { return mLayersMade; }
  // How many of the newest layers in a row hold the same points (saturating), so that what shows
  // them can tell when new layers change nothing.
  std::uint32_t GetSameLayers() const { return mSameLayers; }

 private:
  std::int32_t Slot(std::int32_t layer) const { return (mHead + layer) % phasescope::kMaxLayers; }
  // Copies the first `count` samples with the gain applied; nothing that is not finite survives.
  void TakeSamples(const ScopeSettings& settings, const float* left, const float* right, std::int32_t count);
  void NewLayer();
  void MakeXYLayer(std::int32_t count);
  // The polar dots of the new layer, and the samples clamped to full scale.
  void MakePolarLayer(std::int32_t count);
  void AccumulateBins(const ScopeSettings& settings, std::int32_t count);
  // After a new layer of `count` points: whether it repeats the one before.
  void CountSameLayers(std::int32_t count);

  std::int32_t mWidth{0};
  std::int32_t mHeight{0};
  DrawMode mDrawMode{kPolarLines};
  bool mCentred{false};
  std::int32_t mHead{0};    // slot of layer 0
  std::int32_t mFilled{0};  // layers made since the last clear
  std::array<std::vector<std::int32_t>, phasescope::kMaxLayers> mXs{};
  std::array<std::vector<std::int32_t>, phasescope::kMaxLayers> mYs{};
  std::vector<float> mLeft{};  // the tick's samples after the gain
  std::vector<float> mRight{};
  std::vector<float> mMagnitudes{};
  std::vector<float> mRatios{};
  std::array<float, phasescope::kMaxBins> mBinHold{};
  std::array<float, phasescope::kMaxBins> mBinSum{};
  float mLastGain{1.0f};
  std::uint32_t mLayersMade{0};
  std::uint32_t mSameLayers{0};
  std::int32_t mNewestCount{0};  // points of the newest layer
};
