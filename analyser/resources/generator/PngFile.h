#pragma once

#include <string>

#include "toolkit/drawing/Surface.h"

// Writes the pixels as an 8-bit RGB PNG with no time stamp, so equal pixels give equal bytes.
bool WritePng(const std::string& path, const Surface& pixels);
