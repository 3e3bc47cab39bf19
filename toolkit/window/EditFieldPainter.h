#pragma once

#include "platform/EditField.h"

// Paints the in-place edit field with the editor's 7 pt font: black text on white, the selection
// inverted, a one-pixel caret; text wider than the field scrolls to keep the caret in view.
class EditFieldPainter final : public EditFieldRenderer {
 public:
  void Render(const EditFieldText& field, const PixelBuffer& target) override;
};
