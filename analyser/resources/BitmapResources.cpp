// The editor's bitmaps, drawn by the generator at build time and built into the library.
#include <cstddef>
#include <iterator>

#include "analyser/resources/BitmapInventory.h"
#include "toolkit/drawing/BitmapStore.h"

// VARNIS_BITMAP_BLOB is the generator's output: the pixels of kBitmaps in order, 32 bits each.
__asm__(
    ".pushsection .rodata\n"
    ".balign 16\n"
    ".globl varnis_bitmap_blob\n"
    ".hidden varnis_bitmap_blob\n"
    "varnis_bitmap_blob:\n"
    ".incbin \"" VARNIS_BITMAP_BLOB
    "\"\n"
    ".popsection\n");

extern "C" __attribute__((visibility("hidden"))) const std::uint32_t varnis_bitmap_blob[];

namespace {

constexpr size_t kCount = std::size(bitmaps::kBitmaps);

struct Table {
  BitmapResource entries[kCount]{};
};

Table MakeTable() {
  Table table;
  size_t offset = 0;
  for (size_t i = 0; i < kCount; ++i) {
    const bitmaps::BitmapEntry& bitmap = bitmaps::kBitmaps[i];
    table.entries[i] = BitmapResource{bitmap.id, bitmap.width, bitmap.height, varnis_bitmap_blob + offset};
    offset += size_t(bitmap.width) * size_t(bitmap.height);
  }
  return table;
}

}  // namespace

const BitmapResource* FindBitmapResource(std::int32_t id) {
  static const Table table = MakeTable();
  for (const BitmapResource& entry : table.entries)
    if (entry.id == id) return &entry;
  return nullptr;
}
