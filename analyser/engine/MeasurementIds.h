#pragma once

// Names of the measured values that carry alarms, shared by the engine and the editor.
namespace MeasurementIds {

inline constexpr char kMasterAlarm[] = "global.master_alarm";
inline constexpr char kCorrelationInst[] = "phase_and_balance.correlation.inst";
inline constexpr char kCorrelationAvg[] = "phase_and_balance.correlation.avg";
inline constexpr char kAntiphaseSummary[] = "phase_and_balance.antiphase.summary";
inline constexpr char kBalanceLevel[] = "phase_and_balance.balance.level";
inline constexpr char kSideToMidRatio[] = "phase_and_balance.midside.sid-to-mid-ratio";

inline constexpr char kFullScaleSampleLeft[] = "lev_meter.full_scale_sam.L";
inline constexpr char kFullScaleSampleRight[] = "lev_meter.full_scale_sam.R";
inline constexpr char kFullScaleSampleGroup[] = "lev_meter.full_scale_sam.group";
inline constexpr char kHeadroomLeft[] = "lev_meter.headroom.L";
inline constexpr char kHeadroomRight[] = "lev_meter.headroom.R";
inline constexpr char kHeadroomGroup[] = "lev_meter.headroom.group";
inline constexpr char kOverloadLeft[] = "lev_meter.overload.L";
inline constexpr char kOverloadRight[] = "lev_meter.overload.R";
inline constexpr char kOverload[] = "lev_meter.overload";

}  // namespace MeasurementIds
