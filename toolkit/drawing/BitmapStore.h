#pragma once

#include <cstdint>

// A bitmap of the library, pixels 0x00RRGGBB row by row.
struct BitmapResource {
  std::int32_t id{0};
  std::int32_t width{0};
  std::int32_t height{0};
  const std::uint32_t* pixels{nullptr};
};

// Defined at link time by the product's resources (tests link a small table of their own); null
// for an unknown id.
const BitmapResource* FindBitmapResource(std::int32_t id);
