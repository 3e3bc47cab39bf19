#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "analyser/editor/meters/BalanceScale.h"
#include "analyser/engine/services/KorvaneBalanceService.h"
#include "framework/services/TimerClient.h"
#include "toolkit/editor/PixMapRef.h"
#include "toolkit/frames/PixMapDrawFrame.h"

class Korvane;

// The balance strip, 189 x 6 by default: the balance service's recent history (one value per
// 50 ms window) as thin marks, the histories of the five previous ticks as fading trails, and
// the mean as a white marker; right of centre means the right channel is louder. Its timer reads
// the service and shifts the trails, asking for a redraw only when a mark moved; Draw only
// paints. Editor thread.
class KorvaneBalanceMeterFrame : public PixMapDrawFrame,
                                 public TimerClient<KorvaneBalanceMeterFrame>,
                                 public KorvaneServiceClient<KorvaneBalanceService> {
 public:
  static constexpr std::int32_t kDefaultWidth = 189;
  static constexpr std::int32_t kDefaultHeight = 6;
  static constexpr std::int32_t kTrails = 5;
  static constexpr std::int32_t kTimerTicks = 6;
  static constexpr float kReach = 10.0f;  // dB; history marks beyond it stay at the end

  // A width of 0 gives the default size.
  KorvaneBalanceMeterFrame(Korvane* plugin, Frame* parent, std::int32_t x, std::int32_t y,
                           std::int32_t width = 0, std::int32_t height = 0);

  void Draw(DrawContext& context, const Rect& area) override;
  void OnTimer();

  const BalanceScale& GetScale() const { return mScale; }

 private:
  // The columns of one history's marks, in the history's order.
  using Marks = std::array<std::int32_t, BalanceAnalysis::kHistoryLength>;

  // Reads the history and the column of its mean; what is not a number reads as 0 dB.
  void ReadHistory();
  void PaintMarks(DrawContext& context, const Marks& marks, std::int32_t age) const;

  std::array<Color, kTrails + 1> mLeftColours{};
  std::array<Color, kTrails + 1> mRightColours{};
  std::array<Color, kTrails + 1> mCentreColours{};
  std::vector<float> mHistory;  // as read, for the service to fill
  Marks mMarks{};
  std::array<Marks, kTrails> mTrails{};  // trail 0 the most recent
  std::int32_t mMeanColumn{0};
  PixMapRef mPicture;
  BalanceScale mScale;
};
