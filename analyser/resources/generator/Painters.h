#pragma once

#include "analyser/resources/BitmapInventory.h"
#include "analyser/resources/generator/Canvas.h"

// Fills the bitmap's ground, then draws one region of the inventory.
void PaintGround(Canvas& canvas, const bitmaps::BitmapEntry& bitmap);
void PaintRegion(Canvas& canvas, const bitmaps::Region& region);
