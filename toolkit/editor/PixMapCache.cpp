#include "toolkit/editor/PixMapCache.h"

OGWorld* PixMapCache::Acquire(std::int32_t bitmapId) {
  auto found = mEntries.find(bitmapId);
  if (found == mEntries.end()) {
    found = mEntries.emplace(bitmapId, Entry{}).first;
    try {
      found->second.world = mCreate(bitmapId);
    } catch (...) {
      mEntries.erase(found);
      throw;
    }
  }
  ++found->second.count;
  return found->second.world.get();
}

void PixMapCache::Release(const OGWorld* world) {
  for (auto entry = mEntries.begin(); entry != mEntries.end(); ++entry) {
    if (entry->second.world.get() != world) continue;
    if (--entry->second.count <= 0) mEntries.erase(entry);
    return;
  }
}
