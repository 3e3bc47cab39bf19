// Feeds arbitrary bytes to a plug-in core as bank and program chunks, then takes a chunk back.
#include <cstddef>
#include <cstdint>

#include "fuzz/QuietRoot.h"
#include "tests/framework/core/CoreFixture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  static PluginMetaClassRef metaClass;
  static FakePlatform platform;
  static QuietRoot root;
  HookCore core(&platform);
  core.SetUIRoot(&root);
  const bool preset = size > 0 && (data[0] & 1);
  core.SetChunk(data, static_cast<std::int32_t>(size), preset);
  void* chunk = nullptr;
  core.GetChunk(&chunk, !preset);
  return 0;
}
