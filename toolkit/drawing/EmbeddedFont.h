#pragma once

#include <cstddef>

// Liberation Sans Regular (SIL Open Font License, see fonts/), built into the library so that no
// host's font setup matters.
struct EmbeddedFontData {
  const unsigned char* bytes{nullptr};
  size_t size{0};
};

EmbeddedFontData GetEmbeddedFont();
