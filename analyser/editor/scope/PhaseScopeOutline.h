#pragma once

#include <array>
#include <cstdint>

#include "analyser/editor/scope/PhaseScopeMaths.h"
#include "toolkit/drawing/DrawContext.h"

class PhaseScopeModel;

// The polar plot's held bins as the pen's path in the scope's own coordinates: rays from the rim
// inward, or the outline through the bins' ends. Two equal paths paint the same pixels.
class PhaseScopeOutline {
 public:
  // The path of the model's bins in its draw mode, for a plot of `bins` bins.
  void Trace(const PhaseScopeModel& model, std::int32_t bins);
  // In the context's colour.
  void Draw(DrawContext& context) const;
  bool operator==(const PhaseScopeOutline& other) const;

 private:
  struct Step {
    Point to{};
    bool line{false};  // a line to the point, else a move
  };
  // The first move, two steps a bin and the closing move and line.
  static constexpr std::int32_t kMaxSteps = 2 * phasescope::kMaxBins + 3;

  void MoveTo(Point p) { mSteps[mCount++] = Step{p, false}; }
  void LineTo(Point p) { mSteps[mCount++] = Step{p, true}; }

  std::array<Step, kMaxSteps> mSteps{};
  std::int32_t mCount{0};
};
