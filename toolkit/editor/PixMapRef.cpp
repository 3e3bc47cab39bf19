#include "toolkit/editor/PixMapRef.h"

#include "toolkit/editor/PluginUIRoot.h"

PixMapRef::PixMapRef(PluginUIRoot* root, std::int32_t bitmapId)
    : mBitmapId(bitmapId), mWorld(root->AcquirePixMap(bitmapId)), mRoot(root) {}

PixMapRef::~PixMapRef() {
  mRoot->ReleasePixMap(mWorld);
  mWorld = nullptr;
}
