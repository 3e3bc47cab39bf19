#pragma once

// For the setters whose last argument says whether the change is drawn at once (SetText,
// SetPixMap, SetColor, SetZoneThreshold and the like).
inline constexpr bool kRedraw = true;
inline constexpr bool kNoRedraw = false;
