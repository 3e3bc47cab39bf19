#pragma once

#include <cstdint>

class OGWorld;
class PluginUIRoot;

// A holder of one bitmap's shared image; the image goes when the last holder does.
class PixMapRef {
 public:
  // Throws AppFrame::ResAlloc for an id the library does not hold.
  PixMapRef(PluginUIRoot* root, std::int32_t bitmapId);
  ~PixMapRef();
  PixMapRef(const PixMapRef&) = delete;
  PixMapRef& operator=(const PixMapRef&) = delete;

  OGWorld* Get() const { return mWorld; }
  std::int32_t GetBitmapId() const { return mBitmapId; }

 private:
  std::int32_t mBitmapId{0};
  OGWorld* mWorld{nullptr};
  PluginUIRoot* mRoot{nullptr};
};
