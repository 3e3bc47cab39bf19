#include "toolkit/meters/MeterPaint.h"

#include "toolkit/drawing/OGWorld.h"

void PaintArea(DrawContext& context, const Rect& area, const OGWorld* world, Point source, Color color) {
  if (IsEmptyRect(area)) return;
  if (world) {
    context.CopyFromWorld(*world, RectFromOriginSize(source, RectWidth(area), RectHeight(area)),
                          Point{area.left, area.top}, DrawContext::kResetColors);
    return;
  }
  context.SetForeColor(color);
  context.FillRect(area);
}
