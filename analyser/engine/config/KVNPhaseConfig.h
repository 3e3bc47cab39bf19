#pragma once

#include <atomic>
#include <cstdint>

#include "framework/archive/Serializable.h"
#include "framework/archive/SerializableColorSpec.h"
#include "framework/services/FourCC.h"
#include "framework/services/MessagePublisher.h"

// The user's phase-scope settings. Every setter stores its value and, when asked to notify,
// sends the change on the message class kMessageClass. User-interface thread only, apart from
// IsPhaseScopeEnabled, which the phase service reads on the audio thread.
class KVNPhaseConfig : public MessagePublisher, public Serialization::Serializable {
 public:
  enum PlotType { typeXY = 0, typeXYCentered = 1, typePolar = 2 };
  enum XYPlotStyle { xysPoints = 0, xysLines = 1 };
  enum PolarPlotStyle { ppsPoints = 0, ppsBars = 1, ppsLines = 2 };

  // The setters' last argument.
  static constexpr bool kNotify = true;

  static constexpr std::int32_t kMessageClass = FourCC('p', 'h', 'M', 'n');
  static constexpr std::int32_t kXYStyleChanged = FourCC('x', 'y', 'S', 't');
  static constexpr std::int32_t kPolarStyleChanged = FourCC('p', 'p', 'S', 't');
  static constexpr std::int32_t kGainMayHaveChanged = FourCC('g', 'a', 'i', 'n');
  static constexpr std::int32_t kAutoGainChanged = FourCC('a', 'g', 'a', 'i');
  static constexpr std::int32_t kManualGainChanged = FourCC('m', 'g', 'a', 'i');
  static constexpr std::int32_t kLowLevelGateChanged = FourCC('l', 'l', 'g', 't');
  static constexpr std::int32_t kDensityChanged = FourCC('d', 'e', 'n', 's');
  static constexpr std::int32_t kDecayChanged = FourCC('d', 'e', 'c', 'y');
  static constexpr std::int32_t kColourChanged = FourCC('c', 'o', 'l', 'r');
  static constexpr std::int32_t kScopeEnabledChanged = FourCC('p', 's', 'E', 'n');

  static constexpr float kMaxGainDb = 25.0f;

  explicit KVNPhaseConfig(PluginServices* services);

  std::string_view GetTypeId() const override { return "QMR_KVNPhaseConfig"; }
  void Save(Serialization::Archive& archive) override;
  void Load(Serialization::Archive& archive) override;

  // A type outside typeXY..typePolar is refused: nothing stored, nothing sent.
  void SetPlotType(std::int32_t type, bool notify);
  std::int32_t GetPlotType() const { return mPlotType; }
  void SetXYPlotStyle(std::int32_t style, bool notify);
  std::int32_t GetXYPlotStyle() const { return mXYPlotStyle; }
  void SetPolarPlotStyle(std::int32_t style, bool notify);
  std::int32_t GetPolarPlotStyle() const { return mPolarPlotStyle; }
  void SetAutoGain(bool on, bool notify);
  bool GetAutoGain() const { return mAutoGain; }
  // Clamped to 0..kMaxGainDb; NaN is refused.
  void SetGainDb(float db, bool notify);
  float GetGainDb() const { return mGainDb; }
  void SetLowLevelGate(bool on, bool notify);
  bool GetLowLevelGate() const { return mLowLevelGate; }
  // Density and decay belong to the current plot type; setters clamp to 1..10. Loaded values
  // are kept as loaded, so a file round-trips; the scope, its slider and its readout use the
  // effective values, clamped to 1..10.
  void SetPlotDensity(std::int32_t density, bool notify);
  std::int32_t GetPlotDensity() const { return mPlotDensity[mPlotType]; }
  std::int32_t GetEffectivePlotDensity() const;
  void SetPlotDecay(std::int32_t decay, bool notify);
  std::int32_t GetPlotDecay() const { return mPlotDecay[mPlotType]; }
  std::int32_t GetEffectivePlotDecay() const;
  void SetPhaseColor(const ZEBCanvas::SerializableColorSpec& colour, bool notify);
  const ZEBCanvas::SerializableColorSpec& GetPhaseColor() const { return mPhaseColor; }
  void SetPhaseScopeEnabled(bool on, bool notify);
  bool IsPhaseScopeEnabled() const { return mPhaseScopeEnabled.load(std::memory_order_relaxed); }

 private:
  void Notify(std::int32_t code);

  static_assert(std::atomic<bool>::is_always_lock_free);

  std::int32_t mPlotType = typePolar;
  bool mAutoGain = true;
  float mGainDb = 0.0f;
  bool mLowLevelGate = true;
  std::int32_t mXYPlotStyle = xysPoints;
  std::int32_t mPolarPlotStyle = ppsBars;
  std::int32_t mPlotDensity[3] = {6, 6, 8};
  std::int32_t mPlotDecay[3] = {6, 6, 2};
  ZEBCanvas::SerializableColorSpec mPhaseColor{0, 0xFFFF, 0};
  std::atomic<bool> mPhaseScopeEnabled{true};
};
