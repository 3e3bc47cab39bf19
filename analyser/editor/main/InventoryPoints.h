#pragma once

#include "analyser/resources/BitmapInventory.h"
#include "toolkit/drawing/Geometry.h"

// The points of a bitmap-inventory row as frames read them: where its first image (or colour chip)
// lies, the step to the next image and the image shown while disabled.
constexpr Point OriginOf(const bitmaps::Region& region) { return Point{region.x, region.y}; }
constexpr Point StepOf(const bitmaps::Region& region) { return Point{region.stepX, region.stepY}; }
constexpr Point DisabledOf(const bitmaps::Region& region) {
  return Point{region.disabledX, region.disabledY};
}
