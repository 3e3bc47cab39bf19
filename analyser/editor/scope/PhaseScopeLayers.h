#pragma once

#include <cstdint>

#include "analyser/editor/scope/PhaseScopeModel.h"
#include "toolkit/drawing/DrawContext.h"
#include "toolkit/drawing/OGWorld.h"

struct ScopeLook;

// The scope's layers as last painted, kept between draws: per pixel the newest layer whose line
// or dot lies on it. A tick then draws only the layer it made, and every other pixel takes the
// colour of its layer's age. Painting gives exactly what painting every layer, oldest first, in
// its colour would, and leaves the context's colour and pen where that would. Editor thread only.
class PhaseScopeLayers {
 public:
  PhaseScopeLayers(std::int32_t width, std::int32_t height);

  // Paints the model's layers over what the context holds, within `area` (the scope's own
  // coordinates): lines for the XY lines mode, dots otherwise.
  void Paint(DrawContext& context, const Rect& area, const PhaseScopeModel& model, const ScopeLook& look);

 private:
  // What the kept layers were drawn for; any change draws them all again. A clear of the model
  // needs nothing: layers older than those made since are beyond its layer count.
  struct Shape {
    bool lines{false};
    std::int32_t points{0};
    std::int32_t decay{0};
    bool operator==(const Shape& other) const {
      return lines == other.lines && points == other.points && decay == other.decay;
    }
  };

  void CatchUp(const PhaseScopeModel& model, const Shape& shape, std::int32_t layers);
  void DrawLayer(const PhaseScopeModel& model, std::int32_t layer, std::uint32_t serial);

  std::int32_t mWidth{0};
  std::int32_t mHeight{0};
  OGWorld mNewest;   // per pixel the serial of the newest layer on it as a pixel value; 0 for none
  OGWorld mColours;  // the layers' colours where one lies, for the masked copy
  OGWorld mMask;     // 0 where a layer lies, all ones where what is below shows
  Shape mShape{};
  std::uint32_t mMade{0};    // the model's count of layers made when last caught up
  std::uint32_t mSerial{0};  // of the newest layer drawn
};
