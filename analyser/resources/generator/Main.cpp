// Draws the editor's bitmaps from the inventory: one blob of their pixels for the library, and a
// PNG of each for people. The same inventory always gives the same bytes.
#include <cstdio>
#include <string>

#include "analyser/resources/BitmapInventory.h"
#include "analyser/resources/generator/Painters.h"
#include "analyser/resources/generator/PngFile.h"
#include "toolkit/drawing/BitmapStore.h"

// The generator draws bitmaps; it loads none.
const BitmapResource* FindBitmapResource(std::int32_t) { return nullptr; }

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s BLOB PNG-DIRECTORY\n", argv[0]);
    return 2;
  }
  FILE* blob = std::fopen(argv[1], "wb");
  if (!blob) {
    std::perror(argv[1]);
    return 1;
  }
  bool ok = true;
  for (const bitmaps::BitmapEntry& bitmap : bitmaps::kBitmaps) {
    Canvas canvas(bitmap.width, bitmap.height);
    PaintGround(canvas, bitmap);
    for (const bitmaps::Region& region : bitmaps::kRegions)
      if (region.bitmap == bitmap.id) PaintRegion(canvas, region);
    const Surface& pixels = canvas.Pixels();
    for (std::int32_t y = 0; y < pixels.height; ++y)
      for (std::int32_t x = 0; x < pixels.width; ++x) {
        const std::uint32_t p = pixels.pixels[y * pixels.stride + x];
        const unsigned char bytes[4] = {static_cast<unsigned char>(p), static_cast<unsigned char>(p >> 8),
                                        static_cast<unsigned char>(p >> 16), 0};
        ok = std::fwrite(bytes, 1, 4, blob) == 4 && ok;
      }
    const std::string png =
        std::string(argv[2]) + "/" + std::to_string(bitmap.id) + "-" + bitmap.name + ".png";
    if (!WritePng(png, pixels)) {
      std::fprintf(stderr, "cannot write %s\n", png.c_str());
      ok = false;
    }
  }
  ok = std::fclose(blob) == 0 && ok;
  return ok ? 0 : 1;
}
