#include <memory>

#include "framework/core/PluginMetaClass.h"
#include "plugin/VSTPlugin.h"
#include "vst2/Vst2Interface.h"

// The VST 2 entry point. Nothing thrown here reaches the host: any failure gives null, and a
// failed call leaves no mark on later ones.
extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback host) {
  if (!host || host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
  try {
    auto plugin = std::make_unique<VSTPlugin>(host);
    PluginMetaClassRef metaClass;
    if (!metaClass) return nullptr;
    IOConfigList configs;
    metaClass->GetIOConfigs(configs);
    if (configs.empty()) return nullptr;
    std::unique_ptr<PluginCoreInterface> core(metaClass->CreatePluginCore(plugin.get(), configs.front()));
    if (!core) return nullptr;
    plugin->attachCore(std::move(core));
    plugin->setSampleRate(44100.0f);
    plugin->setBlockSize(2048);
    return plugin.release()->getAeffect();
  } catch (...) {
    return nullptr;
  }
}

// The same entry under the older name hosts look for; C++ does not allow a function called
// main with this signature, so the name is given to the linker directly.
extern "C" __attribute__((visibility("default"), alias("VSTPluginMain"))) AEffect* VstMainAlias(
    audioMasterCallback host) __asm__("main");
