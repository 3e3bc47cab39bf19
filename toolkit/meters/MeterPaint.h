#pragma once

#include "toolkit/drawing/DrawContext.h"

class OGWorld;

// The meters' one way to paint an area: with a world, the area's size copied from the source
// point of it; without one, filled with the colour.
void PaintArea(DrawContext& context, const Rect& area, const OGWorld* world, Point source, Color color);
