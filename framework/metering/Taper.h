#pragma once

// Logarithmic control tapers: curve c > 0 bends the 0..1 position; both ends stay fixed.
float TaperPositionToValue(float position, float curve);
float TaperValueToPosition(float value, float curve);
