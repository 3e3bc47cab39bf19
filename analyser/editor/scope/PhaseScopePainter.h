#pragma once

#include <cstdint>

#include "analyser/editor/scope/PhaseScopeLayers.h"
#include "analyser/editor/scope/PhaseScopeModel.h"
#include "analyser/editor/scope/PhaseScopeOutline.h"
#include "toolkit/drawing/DrawContext.h"

// What the painting reads of the configuration besides the model.
struct ScopeLook {
  Color colour{0, 0xFFFF, 0};
  std::int32_t density{8};  // as stored
  std::int32_t decay{2};
};

// Paints the scope's state in the scope's own coordinates: for XY plots a black ground with the
// grey axes, then the layers; for polar plots (over a background the caller drew) the dots or the
// held bins as rays or an outline. Reads the model only; keeps the layers as last painted, so
// that a tick paints only its new one. Editor thread only.
class PhaseScopePainter {
 public:
  PhaseScopePainter(std::int32_t width, std::int32_t height) : mLayers(width, height) {}

  void Paint(DrawContext& context, const Rect& area, const PhaseScopeModel& model, const ScopeLook& look);

 private:
  PhaseScopeLayers mLayers;
  PhaseScopeOutline mOutline{};
};
