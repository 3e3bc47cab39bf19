// The editor's bitmaps, checked against the inventory that the frames read them by.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "analyser/resources/BitmapInventory.h"
#include "toolkit/drawing/BitmapStore.h"

using namespace bitmaps;

namespace {

const BitmapResource& Bitmap(std::int32_t id) {
  const BitmapResource* bitmap = FindBitmapResource(id);
  if (!bitmap) throw std::runtime_error("no bitmap " + std::to_string(id));
  return *bitmap;
}

std::uint32_t PixelOf(std::int32_t id, std::int32_t x, std::int32_t y) {
  const BitmapResource& b = Bitmap(id);
  return b.pixels[y * b.width + x];
}

struct Box {
  std::int32_t left, top, right, bottom;  // exclusive
};

// Every rectangle a region covers: its cells or chips and its disabled image.
std::vector<Box> Boxes(const Region& r) {
  std::vector<Box> boxes;
  for (std::int32_t k = 0; k < r.count; ++k) {
    const std::int32_t x = r.x + k * r.stepX, y = r.y + k * r.stepY;
    boxes.push_back({x, y, x + r.width, y + r.height});
  }
  if (r.disabledX >= 0)
    boxes.push_back({r.disabledX, r.disabledY, r.disabledX + r.width, r.disabledY + r.height});
  return boxes;
}

bool Overlap(const Box& a, const Box& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}
bool Inside(const Box& inner, const Box& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

bool SamePixels(std::int32_t id, const Box& a, const Box& b) {
  for (std::int32_t y = 0; y < a.bottom - a.top; ++y)
    for (std::int32_t x = 0; x < a.right - a.left; ++x)
      if (PixelOf(id, a.left + x, a.top + y) != PixelOf(id, b.left + x, b.top + y)) return false;
  return true;
}

TEST(Bitmaps, EveryBitmapIsThereWithItsSize) {
  for (const BitmapEntry& bitmap : kBitmaps) {
    const BitmapResource& b = Bitmap(bitmap.id);
    EXPECT_EQ(b.width, bitmap.width) << bitmap.id;
    EXPECT_EQ(b.height, bitmap.height) << bitmap.id;
  }
  const std::int32_t sizes[][3] = {{2000, 425, 600}, {2200, 285, 205}, {5200, 399, 650},
                                   {5913, 400, 103}, {8000, 260, 100}, {8001, 260, 100}};
  for (const auto& s : sizes) EXPECT_EQ(Bitmap(s[0]).width * Bitmap(s[0]).height, s[1] * s[2]);
  EXPECT_EQ(FindBitmapResource(1), nullptr);
}

TEST(Bitmaps, EveryRegionLiesInsideItsBitmap) {
  for (const Region& r : kRegions) {
    const BitmapResource& b = Bitmap(r.bitmap);
    for (const Box& box : Boxes(r))
      EXPECT_TRUE(Inside(box, Box{0, 0, b.width, b.height}) && box.left < box.right && box.top < box.bottom)
          << r.name;
  }
}

TEST(Bitmaps, RegionsOfOneBitmapDoNotOverlap) {
  // Only a part or a text background may lie inside a background.
  for (size_t i = 0; i < std::size(kRegions); ++i)
    for (size_t j = i + 1; j < std::size(kRegions); ++j) {
      const Region &a = kRegions[i], &b = kRegions[j];
      if (a.bitmap != b.bitmap) continue;
      for (const Box& boxA : Boxes(a))
        for (const Box& boxB : Boxes(b)) {
          if (!Overlap(boxA, boxB)) continue;
          const bool nested = a.kind == Kind::kBackground &&
                              (b.kind == Kind::kPart || b.kind == Kind::kTextBackground) &&
                              Inside(boxB, boxA);
          EXPECT_TRUE(nested) << a.name << " overlaps " << b.name;
        }
    }
  for (const Region& r : kRegions) {
    const std::vector<Box> boxes = Boxes(r);
    for (size_t i = 0; i < boxes.size(); ++i)
      for (size_t j = i + 1; j < boxes.size(); ++j) EXPECT_FALSE(Overlap(boxes[i], boxes[j])) << r.name;
  }
}

TEST(Bitmaps, ColourChipsHoldTheirConstantsAndTextBackgroundsAreUniform) {
  for (const Region& r : kRegions) {
    if (r.kind == Kind::kColour) {
      for (std::int32_t k = 0; k < r.count; ++k)
        EXPECT_EQ(PixelOf(r.bitmap, r.x + k * r.stepX, r.y + k * r.stepY), r.colours[k])
            << r.name << " " << k;
    }
    if (r.kind != Kind::kTextBackground) continue;
    for (std::int32_t y = r.y; y < r.y + r.height; ++y) {
      for (std::int32_t x = r.x; x < r.x + r.width; ++x)
        ASSERT_EQ(PixelOf(r.bitmap, x, y), r.colours[0]) << r.name;
    }
  }
  // The readers' own coordinates.
  EXPECT_EQ(PixelOf(kSprites, 199, 5), colour::kReadoutText);
  EXPECT_EQ(PixelOf(kSprites, 198, 14), colour::kDisabledText);
  EXPECT_EQ(PixelOf(kPanel, 380, 398), colour::kSideBar);
  EXPECT_EQ(PixelOf(kMeterScales, 20, 12), chips::kBalanceCentre[5]);
}

TEST(Bitmaps, EveryCellOfAStripDiffersFromTheOthersAndFromItsDisabledImage) {
  for (const Region& r : kRegions) {
    if (r.kind != Kind::kCells) continue;
    const std::vector<Box> boxes = Boxes(r);
    for (size_t i = 0; i < boxes.size(); ++i)
      for (size_t j = i + 1; j < boxes.size(); ++j)
        EXPECT_FALSE(SamePixels(r.bitmap, boxes[i], boxes[j])) << r.name << " cells " << i << " and " << j;
  }
}

double Luminance(std::uint32_t rgb) {
  return 0.2126 * ((rgb >> 16) & 0xFF) + 0.7152 * ((rgb >> 8) & 0xFF) + 0.0722 * (rgb & 0xFF);
}

TEST(Bitmaps, TheCorrelationScaleDarkensDownwardsFromRedToGreen) {
  // Column i is correlation i / 58 - 1; the top row is the brightest level.
  for (std::int32_t i = 0; i < 117; ++i) {
    for (std::int32_t j = 1; j < 50; ++j)
      ASSERT_LE(Luminance(PixelOf(kMeterScales, i, 26 + j)), Luminance(PixelOf(kMeterScales, i, 25 + j)))
          << i << "," << j;
    EXPECT_LT(Luminance(PixelOf(kMeterScales, i, 75)) * 4, Luminance(PixelOf(kMeterScales, i, 26)));
  }
  const std::uint32_t antiPhase = PixelOf(kMeterScales, 0, 26), inPhase = PixelOf(kMeterScales, 116, 26);
  EXPECT_GT((antiPhase >> 16) & 0xFF, 2 * ((antiPhase >> 8) & 0xFF));
  EXPECT_GT((inPhase >> 8) & 0xFF, 2 * ((inPhase >> 16) & 0xFF));
}

TEST(Bitmaps, TheScopesEmptySectorHasNoGrid) {
  // Below the centre between the rays at 5pi/4 and 7pi/4, inside the scope, keeping off the rays.
  const std::uint32_t ground = PixelOf(kPanel, kScopeCentreX, kScopeCentreY + 60);
  for (std::int32_t y = kScopeCentreY + 3; y < kScopeY + kScopeSize; ++y) {
    for (std::int32_t x = kScopeX; x < kScopeX + kScopeSize; ++x) {
      if (y - kScopeCentreY <= std::abs(x - kScopeCentreX) + 2) continue;
      ASSERT_EQ(PixelOf(kPanel, x, y), ground) << x << "," << y;
    }
  }
  // The rim is drawn elsewhere: on the in-phase axis at the radius.
  EXPECT_NE(PixelOf(kPanel, kScopeCentreX, kScopeCentreY - kScopeRadius), ground);
}

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(Bitmaps, TwoRunsOfTheGeneratorGiveIdenticalBytes) {
  const std::filesystem::path base =
      std::filesystem::temp_directory_path() / ("varnis-bitmaps-" + std::to_string(std::random_device{}()));
  std::vector<std::filesystem::path> runs = {base / "a", base / "b"};
  for (const auto& dir : runs) {
    std::filesystem::create_directories(dir);
    const std::string command = std::string("'") + VARNIS_BITMAP_GENERATOR + "' '" + (dir / "blob").string() +
                                "' '" + dir.string() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0);
  }
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(runs[0])) {
    const std::string a = ReadAll(entry.path()), b = ReadAll(runs[1] / entry.path().filename());
    EXPECT_FALSE(a.empty());
    EXPECT_EQ(a, b) << entry.path().filename();
    ++files;
  }
  EXPECT_EQ(files, 7);
  // What the library holds is what the generator drew.
  const std::string blob = ReadAll(runs[0] / "blob");
  const BitmapResource& sprites = Bitmap(kSprites);
  EXPECT_EQ(std::memcmp(blob.data(), sprites.pixels, size_t(sprites.width) * sprites.height * 4), 0);
  std::filesystem::remove_all(base);
}

}  // namespace
