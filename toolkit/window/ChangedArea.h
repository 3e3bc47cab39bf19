#pragma once

#include "platform/PixelBuffer.h"

// The smallest part of area holding every pixel where now and before differ; empty when they
// agree there. Both buffers hold area.
PixelRect ChangedArea(const PixelBuffer& now, const PixelBuffer& before, const PixelRect& area);

// Copies area of from into to; both hold it.
void CopyArea(const PixelBuffer& from, const PixelBuffer& to, const PixelRect& area);
