#pragma once

#include <cstdint>
#include <vector>

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

// In drawing order: caps, middle pieces, label.
inline std::vector<Piece> LayOut(std::int32_t width) {
  std::vector<Piece> pieces{{0, kCapWidth, 0}, {kRightCapSource, kCapWidth, width - kCapWidth}};
  std::int32_t x = kCapWidth;
  for (std::int32_t remaining = width - 2 * kCapWidth; remaining > 0;) {
    const std::int32_t piece = remaining < kMiddlePiece ? remaining : kMiddlePiece;
    pieces.push_back({kMiddleSource, piece, x});
    x += piece;
    remaining -= piece;
  }
  pieces.push_back({kLabelSource, kLabelWidth, width / 2 - kLabelWidth / 2});
  return pieces;
}

}  // namespace masterbar
