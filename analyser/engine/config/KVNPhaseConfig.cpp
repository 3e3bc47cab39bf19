#include "analyser/engine/config/KVNPhaseConfig.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "framework/archive/Archive.h"

namespace {

std::int32_t ClampSetting(std::int32_t value) { return std::clamp<std::int32_t>(value, 1, 10); }

const char* PlotTypeName(std::int32_t type) {
  switch (type) {
    case KVNPhaseConfig::typeXY:
      return "typeXY";
    case KVNPhaseConfig::typeXYCentered:
      return "typeXYCentered";
    default:
      return "typePolar";
  }
}

const char* PolarStyleName(std::int32_t style) {
  switch (style) {
    case KVNPhaseConfig::ppsPoints:
      return "ppsPoints";
    case KVNPhaseConfig::ppsLines:
      return "ppsLines";
    default:
      return "ppsBars";
  }
}

const char* const kDensityNames[3] = {"mPlotDensity[typeXY]", "mPlotDensity[typeXYCentered]",
                                      "mPlotDensity[typePolar]"};
const char* const kDecayNames[3] = {"mPlotDecay[typeXY]", "mPlotDecay[typeXYCentered]",
                                    "mPlotDecay[typePolar]"};

// Older settings stored the colour with 8-bit components; as 16-bit ones they would be nearly
// black. Only black itself is all zeros in both forms.
void WidenEightBitColour(ZEBCanvas::SerializableColorSpec& colour) {
  const bool eightBit = colour.mRed <= 0xFF && colour.mGreen <= 0xFF && colour.mBlue <= 0xFF;
  const bool black = colour.mRed == 0 && colour.mGreen == 0 && colour.mBlue == 0;
  if (!eightBit || black) return;
  colour.mRed = static_cast<std::uint16_t>(colour.mRed * 0x101);
  colour.mGreen = static_cast<std::uint16_t>(colour.mGreen * 0x101);
  colour.mBlue = static_cast<std::uint16_t>(colour.mBlue * 0x101);
}

}  // namespace

KVNPhaseConfig::KVNPhaseConfig(PluginServices* services) : MessagePublisher(services) {
  Publish(kMessageClass);
}

void KVNPhaseConfig::Notify(std::int32_t code) { SendMessage(kMessageClass, code, 0); }

void KVNPhaseConfig::SetPlotType(std::int32_t type, bool notify) {
  MessagePublisher::ExpectInstanceMutex(__func__);
  if (type < typeXY || type > typePolar) return;
  mPlotType = type;
  if (notify) {
    Notify(kGainMayHaveChanged);
    Notify(kDensityChanged);
    Notify(kDecayChanged);
  }
}

void KVNPhaseConfig::SetXYPlotStyle(std::int32_t style, bool notify) {
  MessagePublisher::ExpectInstanceMutex(__func__);
  mXYPlotStyle = style;
  if (notify) Notify(kXYStyleChanged);
}

void KVNPhaseConfig::SetPolarPlotStyle(std::int32_t style, bool notify) {
  MessagePublisher::ExpectInstanceMutex(__func__);
  mPolarPlotStyle = style;
  if (notify) Notify(kPolarStyleChanged);
}

void KVNPhaseConfig::SetAutoGain(bool on, bool notify) {
  MessagePublisher::ExpectInstanceMutex(__func__);
  mAutoGain = on;
  if (notify) Notify(kAutoGainChanged);
}

void KVNPhaseConfig::SetGainDb(float db, bool notify) {
  MessagePublisher::ExpectInstanceMutex(__func__);
  if (std::isnan(db)) return;
  mGainDb = std::clamp(db, 0.0f, kMaxGainDb);
  if (notify) Notify(kManualGainChanged);
}

void KVNPhaseConfig::SetLowLevelGate(bool on, bool notify) {
  MessagePublisher::ExpectInstanceMutex(__func__);
  mLowLevelGate = on;
  if (notify) Notify(kLowLevelGateChanged);
}

void KVNPhaseConfig::SetPlotDensity(std::int32_t density, bool notify) {
  MessagePublisher::ExpectInstanceMutex(__func__);
  mPlotDensity[mPlotType] = ClampSetting(density);
  if (notify) Notify(kDensityChanged);
}

std::int32_t KVNPhaseConfig::GetEffectivePlotDensity() const { return ClampSetting(GetPlotDensity()); }

std::int32_t KVNPhaseConfig::GetEffectivePlotDecay() const { return ClampSetting(GetPlotDecay()); }

void KVNPhaseConfig::SetPlotDecay(std::int32_t decay, bool notify) {
  MessagePublisher::ExpectInstanceMutex(__func__);
  mPlotDecay[mPlotType] = ClampSetting(decay);
  if (notify) Notify(kDecayChanged);
}

void KVNPhaseConfig::SetPhaseColor(const ZEBCanvas::SerializableColorSpec& colour, bool notify) {
  MessagePublisher::ExpectInstanceMutex(__func__);
  mPhaseColor.mRed = colour.mRed;
  mPhaseColor.mGreen = colour.mGreen;
  mPhaseColor.mBlue = colour.mBlue;
  if (notify) Notify(kColourChanged);
}

void KVNPhaseConfig::SetPhaseScopeEnabled(bool on, bool notify) {
  MessagePublisher::ExpectInstanceMutex(__func__);
  mPhaseScopeEnabled.store(on, std::memory_order_relaxed);
  if (notify) Notify(kScopeEnabledChanged);
}

void KVNPhaseConfig::Save(Serialization::Archive& archive) {
  archive.WriteString("mPlotType", PlotTypeName(mPlotType));
  archive.WriteBool("mAutoGain", mAutoGain);
  archive.WriteFloat("mGainDb", mGainDb);
  archive.WriteBool("mLowLevelGate", mLowLevelGate);
  archive.WriteString("mXYPlotStyle", mXYPlotStyle == xysLines ? "xysLines" : "xysPoints");
  archive.WriteString("mPolarPlotStyle", PolarStyleName(mPolarPlotStyle));
  for (int type = 0; type < 3; ++type) {
    archive.WriteInt(kDensityNames[type], mPlotDensity[type]);
    archive.WriteInt(kDecayNames[type], mPlotDecay[type]);
  }
  mPhaseColor.SaveAsObject(archive, "mPhaseColor");
  archive.WriteBool("mPhaseScopeEnabled", IsPhaseScopeEnabled());
}

void KVNPhaseConfig::Load(Serialization::Archive& archive) {
  MessagePublisher::ExpectInstanceMutex(__func__);
  const std::string type = archive.ReadStringOrDefault("mPlotType", "typePolar");
  mPlotType = type == "typeXY" ? typeXY : type == "typeXYCentered" ? typeXYCentered : typePolar;
  mAutoGain = archive.ReadBoolOrDefault("mAutoGain", true);
  // A gain out of range is clamped, a NaN one refused.
  const double gain = archive.ReadFloatOrDefault("mGainDb", mGainDb);
  if (!std::isnan(gain)) mGainDb = static_cast<float>(std::clamp(gain, 0.0, static_cast<double>(kMaxGainDb)));
  mLowLevelGate = archive.ReadBoolOrDefault("mLowLevelGate", mLowLevelGate);
  mXYPlotStyle =
      archive.ReadStringOrDefault("mXYPlotStyle", "xysPoints") == "xysPoints" ? xysPoints : xysLines;
  const std::string polar = archive.ReadStringOrDefault("mPolarPlotStyle", "ppsBars");
  mPolarPlotStyle = polar == "ppsBars" ? ppsBars : polar == "ppsLines" ? ppsLines : ppsPoints;
  for (int t = 0; t < 3; ++t) {
    mPlotDensity[t] = archive.ReadIntOrDefault(kDensityNames[t], mPlotDensity[t]);
    mPlotDecay[t] = archive.ReadIntOrDefault(kDecayNames[t], mPlotDecay[t]);
  }
  if (archive.HasEntry("mPhaseColor")) {
    mPhaseColor.LoadAsObject(archive, "mPhaseColor");
    WidenEightBitColour(mPhaseColor);
  }
  mPhaseScopeEnabled.store(archive.ReadBoolOrDefault("mPhaseScopeEnabled", true), std::memory_order_relaxed);

  for (std::int32_t code : {kAutoGainChanged, kManualGainChanged, kGainMayHaveChanged, kXYStyleChanged,
                            kPolarStyleChanged, kDensityChanged, kDecayChanged, kColourChanged})
    Notify(code);
}
