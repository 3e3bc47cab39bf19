#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>

#include "toolkit/drawing/OGWorld.h"

// The images of the library's bitmaps by id, each shared by every holder of its id until the
// last one releases it. Editor thread.
class PixMapCache {
 public:
  // Makes the image of an id on its first acquire; what it throws passes to the caller.
  using Create = std::function<std::unique_ptr<OGWorld>(std::int32_t bitmapId)>;

  explicit PixMapCache(Create create) : mCreate(std::move(create)) {}

  // The id's image with one holder more. An image that cannot be made leaves no entry.
  OGWorld* Acquire(std::int32_t bitmapId);
  // One holder less; the image goes with its last holder. An image not held here is ignored.
  void Release(const OGWorld* world);

 private:
  struct Entry {
    std::unique_ptr<OGWorld> world{};
    std::int32_t count{0};
  };

  Create mCreate{};
  std::map<std::int32_t, Entry> mEntries{};
};
