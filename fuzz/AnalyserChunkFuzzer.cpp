// Feeds arbitrary bytes to the analyser's plug-in object, as a program chunk and then as a bank:
// its services, its phase-scope configuration and its alarm manager (with the phase-and-balance
// alarms registered, as while the editor is open, for inputs of odd length) load what they are
// given. Whatever is taken must be saved again, and the saved chunk taken back.
#include <cstddef>
#include <cstdint>

#include "analyser/engine/Korvane.h"
#include "analyser/engine/alarms/PhaseAndBalanceAlarms.h"
#include "fuzz/QuietRoot.h"
#include "tests/framework/core/CoreFixture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  static PluginMetaClassRef metaClass;
  static FakePlatform platform;
  static QuietRoot root;
  Korvane plugin(&platform, {2, 2});
  plugin.SetUIRoot(&root);
  if (size % 2 == 1) RegisterPhaseAndBalanceAlarms(plugin.GetAlarmManager());
  for (const bool preset : {true, false}) {
    if (!plugin.SetChunk(data, static_cast<std::int32_t>(size), preset)) continue;
    void* chunk = nullptr;
    const std::int32_t length = plugin.GetChunk(&chunk, preset);
    if (!chunk || length <= 0 || !plugin.SetChunk(chunk, length, preset)) __builtin_trap();
  }
  return 0;
}
