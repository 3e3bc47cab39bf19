#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "framework/archive/Serializable.h"
#include "framework/archive/SerializableColorSpec.h"
#include "framework/services/FourCC.h"
#include "framework/services/MessagePublisher.h"

// Persistent configuration of a level meter with six meter types. Setters act on the selected
// type, clamp to fixed limits and, when asked, announce the change on kMessageClass. A meter
// type, column or colour index out of range reaches the first entry; a NaN value is ignored,
// nothing stored or announced.
class KVNLevelMeterConfig : public MessagePublisher, public Serialization::Serializable {
 public:
  // Levels in dB, times in seconds.
  class MeterConfig : public Serialization::Serializable {
   public:
    enum ColorIndex { clrNormal, clrCaution, clrWarning, clrOver, clrSubLevel, clrSubHold, kColorCount };

    // The fields an archive holds: all, or those a user may change in the K-System types.
    enum Fields { kAllFields, kKSystemFields };

    // The defaults of a meter type (the first type's for an index out of range).
    static MeterConfig Defaults(int meterType);

    std::string_view GetTypeId() const override { return "QMR_KVNLevelMeterConfig::MeterConfig"; }
    void Save(Serialization::Archive& archive) override;
    // A missing key, or a number no float holds, keeps the field's present value.
    void Load(Serialization::Archive& archive) override;
    // The fields without the colours, by the same rules.
    void SaveFields(Serialization::Archive& archive, Fields fields);
    void LoadFields(Serialization::Archive& archive, Fields fields);

    bool mPeakIsMain{true};
    bool mIntegratedMeters{true};
    float mZeroRef{0.0f};
    std::array<float, 2> mCautionLevel{};  // column 0 peak, 1 rms
    std::array<float, 2> mWarningLevel{};
    float mMaxLevel{0.0f};
    float mMinLevel{0.0f};
    float mLinStart{0.0f};
    std::int32_t mWeighting{0};
    float mPeakRiseTime{0.0f};
    float mPeakFallTime{0.0f};
    bool mPeakHold{false};
    float mPeakHoldTime{0.0f};
    float mPeakHoldFallTime{0.0f};
    bool mEnableOverIndicator{false};
    bool mPeakRMSParity{false};
    float mDeceleration{0.0f};
    float mRmsWindow{0.0f};
    float mRmsRiseTime{0.0f};
    float mRmsFallTime{0.0f};
    bool mRmsHold{false};
    float mRmsHoldTime{0.0f};
    float mRmsHoldFallTime{0.0f};
    bool mPeakLinearFall{false};
    bool mRmsLinearFall{false};
    bool mPeakHoldLinearFall{false};
    bool mRmsHoldLinearFall{false};
    bool mLp20k{false};
    bool mShowPeak{true};
    bool mShowRMS{true};
    std::array<ZEBCanvas::SerializableColorSpec, kColorCount> mColors{};
  };

  enum MeterType { mtrCustom, mtrCustomLin, mtrK20_RMS, mtrK14_RMS, mtrK12_RMS, mtrBBCPPM, kMeterTypeCount };

  static constexpr std::int32_t kMessageClass = FourCC('l', 'm', 'M', 'n');
  // Message codes, one per setter.
  static constexpr std::int32_t kMsgMeterType = FourCC('m', 't', 'y', 'p');
  static constexpr std::int32_t kMsgShowPeak = FourCC('s', 'p', 'e', 'k');
  static constexpr std::int32_t kMsgShowRMS = FourCC('s', 'r', 'm', 's');
  static constexpr std::int32_t kMsgPeakIsMain = FourCC('p', 'e', 'k', 'M');
  static constexpr std::int32_t kMsgIntegratedMeters = FourCC('i', 'n', 't', 'm');
  static constexpr std::int32_t kMsgZeroRef = FourCC('z', 'r', 'e', 'f');
  static constexpr std::int32_t kMsgCautionLevel = FourCC('c', 'l', 'e', 'v');
  static constexpr std::int32_t kMsgWarningLevel = FourCC('w', 'l', 'e', 'v');
  static constexpr std::int32_t kMsgMinLevel = FourCC('m', 'l', 'e', 'v');
  static constexpr std::int32_t kMsgMaxLevel = FourCC('m', 'x', 'L', 'v');
  static constexpr std::int32_t kMsgLinStart = FourCC('l', 'n', 'S', 't');
  static constexpr std::int32_t kMsgWeighting = FourCC('w', 'e', 'g', 't');
  static constexpr std::int32_t kMsgPeakRiseTime = FourCC('p', 'r', 'i', 's');
  static constexpr std::int32_t kMsgPeakFallTime = FourCC('p', 'f', 'a', 'l');
  static constexpr std::int32_t kMsgPeakHold = FourCC('p', 'h', 'o', 'l');
  static constexpr std::int32_t kMsgPeakHoldTime = FourCC('p', 'h', 'T', 'm');
  static constexpr std::int32_t kMsgPeakHoldFallTime = FourCC('p', 'h', 'F', 't');
  static constexpr std::int32_t kMsgDeceleration = FourCC('d', 'e', 'c', 'l');
  static constexpr std::int32_t kMsgPeakRMSParity = FourCC('p', 'r', 'p', 'r');
  static constexpr std::int32_t kMsgRmsWindow = FourCC('r', 'm', 's', 'W');
  static constexpr std::int32_t kMsgRmsRiseTime = FourCC('r', 'r', 'i', 's');
  static constexpr std::int32_t kMsgRmsFallTime = FourCC('r', 'f', 'a', 'l');
  static constexpr std::int32_t kMsgRmsHold = FourCC('r', 'h', 'o', 'l');
  static constexpr std::int32_t kMsgRmsHoldTime = FourCC('r', 'h', 'T', 'm');
  static constexpr std::int32_t kMsgRmsHoldFallTime = FourCC('r', 'h', 'F', 't');
  static constexpr std::int32_t kMsgLp20k = FourCC('2', '0', 'k', 'L');
  static constexpr std::int32_t kMsgOverIndicator = FourCC('o', 'v', 'e', 'r');
  static constexpr std::int32_t kMsgColor = FourCC('c', 'o', 'l', 'r');

  // Builds the six default configurations and publishes kMessageClass.
  explicit KVNLevelMeterConfig(PluginServices* services);
  ~KVNLevelMeterConfig() override;

  std::string_view GetTypeId() const override { return "QMR_KVNLevelMeterConfig"; }
  void Save(Serialization::Archive& archive) override;
  // Nothing changes unless the whole load succeeds; then 'mtyp' is announced.
  void Load(Serialization::Archive& archive) override;

  // "Log", "Linear", ..., "unknown" for any other index.
  static const char* GetMeterTypeName(int meterType);
  // "mtrCustom", ..., and "mtrCustom" for any other index.
  static const char* GetMeterTypeArchiveName(int meterType);

  // Any index is stored; one out of range shows as unknown and acts on the first type.
  void SetMeterType(int meterType, bool announce);
  int GetMeterType() const { return mMeterType; }
  bool IsKSystem() const { return mMeterType >= mtrK20_RMS && mMeterType <= mtrK12_RMS; }
  float GetLevelRange() const { return Selected().mMaxLevel - Selected().mMinLevel; }

  void SetShowPeak(bool on, bool announce);
  bool GetShowPeak() const { return Selected().mShowPeak; }
  void SetShowRMS(bool on, bool announce);
  bool GetShowRMS() const { return Selected().mShowRMS; }
  void SetPeakIsMain(bool on, bool announce);
  bool GetPeakIsMain() const { return Selected().mPeakIsMain; }
  void SetIntegratedMeters(bool on, bool announce);
  bool GetIntegratedMeters() const { return Selected().mIntegratedMeters; }
  void SetZeroRef(float dB, bool announce);
  float GetZeroRef() const { return Selected().mZeroRef; }
  // Column 0 peak, 1 rms.
  void SetCautionLevel(int column, float dB, bool announce);
  float GetCautionLevel(int column) const { return Selected().mCautionLevel[Column(column)]; }
  void SetWarningLevel(int column, float dB, bool announce);
  float GetWarningLevel(int column) const { return Selected().mWarningLevel[Column(column)]; }
  void SetMinLevel(float dB, bool announce);
  float GetMinLevel() const { return Selected().mMinLevel; }
  void SetMaxLevel(float dB, bool announce);
  float GetMaxLevel() const { return Selected().mMaxLevel; }
  void SetLinStart(float dB, bool announce);
  float GetLinStart() const { return Selected().mLinStart; }
  void SetWeighting(std::int32_t weighting, bool announce);
  std::int32_t GetWeighting() const { return Selected().mWeighting; }
  void SetPeakRiseTime(float seconds, bool announce);
  float GetPeakRiseTime() const { return Selected().mPeakRiseTime; }
  void SetPeakFallTime(float seconds, bool announce);
  float GetPeakFallTime() const { return Selected().mPeakFallTime; }
  void SetPeakHold(bool on, bool announce);
  bool GetPeakHold() const { return Selected().mPeakHold; }
  void SetPeakHoldTime(float seconds, bool announce);
  float GetPeakHoldTime() const { return Selected().mPeakHoldTime; }
  void SetPeakHoldFallTime(float seconds, bool announce);
  float GetPeakHoldFallTime() const { return Selected().mPeakHoldFallTime; }
  void SetDeceleration(float value, bool announce);
  float GetDeceleration() const { return Selected().mDeceleration; }
  void SetPeakRMSParity(bool on, bool announce);
  bool GetPeakRMSParity() const { return Selected().mPeakRMSParity; }
  void SetRmsWindow(float seconds, bool announce);
  float GetRmsWindow() const { return Selected().mRmsWindow; }
  void SetRmsRiseTime(float seconds, bool announce);
  float GetRmsRiseTime() const { return Selected().mRmsRiseTime; }
  void SetRmsFallTime(float seconds, bool announce);
  float GetRmsFallTime() const { return Selected().mRmsFallTime; }
  void SetRmsHold(bool on, bool announce);
  bool GetRmsHold() const { return Selected().mRmsHold; }
  void SetRmsHoldTime(float seconds, bool announce);
  float GetRmsHoldTime() const { return Selected().mRmsHoldTime; }
  void SetRmsHoldFallTime(float seconds, bool announce);
  float GetRmsHoldFallTime() const { return Selected().mRmsHoldFallTime; }
  void SetLp20k(bool on, bool announce);
  bool GetLp20k() const { return Selected().mLp20k; }
  void SetOverIndicator(bool on, bool announce);
  bool GetOverIndicator() const { return Selected().mEnableOverIndicator; }
  void SetColor(int index, const ZEBCanvas::SerializableColorSpec& color, bool announce);
  ZEBCanvas::SerializableColorSpec* GetColor(int index);

  bool GetPeakLinearFall() const { return Selected().mPeakLinearFall; }
  bool GetRmsLinearFall() const { return Selected().mRmsLinearFall; }
  bool GetPeakHoldLinearFall() const { return Selected().mPeakHoldLinearFall; }
  bool GetRmsHoldLinearFall() const { return Selected().mRmsHoldLinearFall; }

  // The configuration kept for a meter type (the first one for an index out of range).
  const MeterConfig& GetMeterConfig(int meterType) const { return mMeterConfigs[TypeIndex(meterType)]; }

 private:
  static int TypeIndex(int meterType) {
    return meterType >= 0 && meterType < kMeterTypeCount ? meterType : 0;
  }
  static int Column(int column) { return column == 1 ? 1 : 0; }
  MeterConfig& Selected() { return mMeterConfigs[TypeIndex(mMeterType)]; }
  const MeterConfig& Selected() const { return mMeterConfigs[TypeIndex(mMeterType)]; }
  // Stores value clamped to [lo, hi] into field unless it is NaN, then announces.
  void SetClamped(float MeterConfig::*field, float value, float lo, float hi, std::int32_t code,
                  bool announce);
  void SetFlag(bool MeterConfig::*field, bool on, std::int32_t code, bool announce);
  void Announce(std::int32_t code, std::int32_t value, bool announce);

  int mMeterType{mtrCustom};
  std::array<MeterConfig, kMeterTypeCount> mMeterConfigs{};
};
