#pragma once

#include <cstdint>

#include "analyser/resources/BitmapInventory.h"

class ActionButton;
class Frame;
class OGWorld;

// An action button of a strip, one row of the strip's layout: its control id, its place (x from
// the strip's left edge, or back from its right edge so it follows the strip's width) and its
// picture, an inventory row of sprites that gives its size, its image and the step to the pressed
// image.
struct StripButton {
  enum Edge : std::uint8_t { kFromLeft, kFromRight };

  std::int32_t id{0};
  Edge edge{kFromLeft};
  std::int32_t x{0};
  std::int32_t y{0};
  const bitmaps::Region* picture{nullptr};
};

constexpr StripButton MakeStripButton(std::int32_t id, StripButton::Edge edge, std::int32_t x, std::int32_t y,
                                      const char* picture) {
  return StripButton{id, edge, x, y, &bitmaps::RegionNamed(picture)};
}

// The button as a child of the strip, drawn from the sprites; the frame tree owns it.
ActionButton* NewStripButton(Frame* strip, const StripButton& button, const OGWorld* sprites);
