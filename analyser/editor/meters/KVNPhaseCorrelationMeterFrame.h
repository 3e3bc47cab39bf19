#pragma once

#include <cstdint>
#include <vector>

#include "analyser/editor/meters/CorrelationGlow.h"
#include "analyser/engine/services/KorvanePhaseService.h"
#include "framework/services/TimerClient.h"
#include "toolkit/editor/PixMapRef.h"
#include "toolkit/frames/PixMapDrawFrame.h"

class Korvane;

// The correlation bar, 117 x 6: columns from -1 to +1 glowing by how recently and how strongly
// the correlation passed through them, and a white three-pixel marker at the long-term average.
// Its timer reads the phase service and advances the glow, asking for a redraw only when a level
// or the marker moved; Draw only paints. Editor thread.
class KVNPhaseCorrelationMeterFrame : public PixMapDrawFrame,
                                      public TimerClient<KVNPhaseCorrelationMeterFrame>,
                                      public KorvaneServiceClient<KorvanePhaseService> {
 public:
  static constexpr std::int32_t kWidth = CorrelationGlow::kColumns;
  static constexpr std::int32_t kHeight = 6;
  static constexpr std::int32_t kTimerTicks = 4;

  KVNPhaseCorrelationMeterFrame(Korvane* plugin, Frame* parent, std::int32_t x, std::int32_t y);

  void Draw(DrawContext& context, const Rect& area) override;
  void OnTimer();

  const CorrelationGlow& GetGlow() const { return mGlow; }

 private:
  Color ColourOf(std::int32_t column, std::int32_t level) const {
    return mColours[static_cast<std::size_t>(column * CorrelationGlow::kLevels + level)];
  }

  PixMapRef mPicture;
  // Column i at level g is entry 49 - g of the scale's column i, brightest on top.
  std::vector<Color> mColours;
  CorrelationGlow mGlow;
};
