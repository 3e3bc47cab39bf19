#include <cstdint>
#include <memory>

#include "framework/core/PluginMetaClass.h"
#include "framework/services/PluginServices.h"
#include "platform/Platform.h"
#include "plugin/VSTPlugin.h"
#include "toolkit/editor/VSTEditor.h"
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
    PluginCoreInterface* attached = core.get();
    plugin->attachCore(std::move(core));
    // The editor, when the product has one: the host sees the has-editor flag.
    std::int32_t width = 0, height = 0;
    attached->GetEditorSize(width, height);
    if (width > 0 && height > 0) {
      plugin->attachEditor(std::make_unique<VSTEditor>(plugin.get(), *plugin, attached,
                                                       dynamic_cast<PluginServices*>(attached),
                                                       GetSystemPlatform(), width, height));
    }
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
