#pragma once

#include <array>
#include <cstdint>

#include "analyser/editor/scope/PhaseScopeModel.h"
#include "analyser/editor/scope/PhaseScopeOutline.h"
#include "analyser/editor/scope/PhaseScopePainter.h"

// What decides the scope's pixels as the last tick left them, so that a tick asks for a redraw
// only when its picture changed: the draw mode and look, and the layers shown or the bins' path.
// Layers that repeat the ones shown change nothing. Editor thread only.
class PhaseScopePicture {
 public:
  // Takes the picture of the model and look now; true when it may differ from the one before.
  bool Take(const PhaseScopeModel& model, const ScopeLook& look);

 private:
  struct Look {
    PhaseScopeModel::DrawMode mode{PhaseScopeModel::kPolarLines};
    bool centred{false};
    Color colour{};
    std::int32_t points{0};
    std::int32_t decay{0};
    std::int32_t bins{0};
    bool operator==(const Look& o) const {
      return mode == o.mode && centred == o.centred && colour == o.colour && points == o.points &&
             decay == o.decay && bins == o.bins;
    }
  };

  bool mKnown{false};
  Look mLook{};
  std::int32_t mLayers{0};  // shown
  std::uint32_t mMade{0};   // the model's count of layers made
  std::array<PhaseScopeOutline, 2> mOutlines{};
  std::int32_t mTraced{0};  // the outline of the last take
};
