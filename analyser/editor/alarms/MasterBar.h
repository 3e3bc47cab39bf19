#pragma once

#include <cstdint>

// How the master alarm's bar is put together from one picture row of 131 pixels: a left cap of
// 8, a right cap of 8, the middle tiled from a 20-pixel piece, and the 88-pixel label centred
// over it. Source x is relative to the row.
namespace masterbar {

struct Piece {
  std::int32_t sourceX{0};
  std::int32_t width{0};
  std::int32_t destinationX{0};
};

constexpr std::int32_t kCapWidth = 8;
constexpr std::int32_t kRightCapSource = 122;
constexpr std::int32_t kMiddleSource = 10;
constexpr std::int32_t kMiddlePiece = 20;
constexpr std::int32_t kLabelSource = 32;
constexpr std::int32_t kLabelWidth = 88;

// Hands each piece to `use`, in drawing order: caps, middle pieces, label. Allocates nothing.
template <class Use>
void LayOut(std::int32_t width, Use&& use) {
  use(Piece{0, kCapWidth, 0});
  use(Piece{kRightCapSource, kCapWidth, width - kCapWidth});
  std::int32_t x = kCapWidth;
  for (std::int32_t remaining = width - 2 * kCapWidth; remaining > 0;) {
    const std::int32_t piece = remaining < kMiddlePiece ? remaining : kMiddlePiece;
    use(Piece{kMiddleSource, piece, x});
    x += piece;
    remaining -= piece;
  }
  use(Piece{kLabelSource, kLabelWidth, width / 2 - kLabelWidth / 2});
}

}  // namespace masterbar
