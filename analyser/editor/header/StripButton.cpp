#include "analyser/editor/header/StripButton.h"

#include "toolkit/controls/PixMapButton.h"

ActionButton* NewStripButton(Frame* strip, const StripButton& button, const OGWorld* sprites) {
  const bitmaps::Region& picture = *button.picture;
  const std::int32_t x = button.edge == StripButton::kFromRight ? strip->GetWidth() - button.x : button.x;
  return new ActionButton(strip, x, button.y, picture.width, picture.height, picture.stepX, picture.stepY,
                          picture.x, picture.y, sprites, 0, button.id);
}
