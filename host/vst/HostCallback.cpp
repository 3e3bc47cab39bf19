#include "host/vst/HostCallback.h"

#include "host/vst/VstPluginEx.h"

#include <algorithm>
#include <cstring>

namespace tolvaran {

namespace {

VstPluginEx default_host{QString()};

// Copies text into a plug-in's buffer of capacity bytes; 0 for a null buffer.
intptr_t copy_text(void* ptr, const char* text, size_t capacity) {
  if (!ptr) return 0;
  char* out = static_cast<char*>(ptr);
  const size_t n = std::min(std::strlen(text), capacity - 1);
  std::memcpy(out, text, n);
  out[n] = '\0';
  return 1;
}

}  // namespace

VstPluginEx& host_object_of(AEffect* effect) {
  return effect && effect->user ? *static_cast<VstPluginEx*>(effect->user) : default_host;
}

intptr_t VST2_CALLBACK host_callback(AEffect* effect, int32_t opcode, int32_t /*index*/, intptr_t /*value*/,
                                     void* ptr, float /*opt*/) {
  switch (opcode) {
    case audioMasterVersion:
      return 2400;
    case audioMasterIdle:
      host_object_of(effect).idle_from_plugin();
      return 0;
    case audioMasterNeedIdle:
      host_object_of(effect).set_need_idle();
      return 1;
    case audioMasterSizeWindow:
      host_object_of(effect).update_window();
      return 0;
    case audioMasterGetCurrentProcessLevel:
      return 2;
    case audioMasterGetVendorString:
      return copy_text(ptr, "Vornad", kVstMaxVendorStrLen);
    case audioMasterGetProductString:
      return copy_text(ptr, "Default VST Host", kVstMaxProductStrLen);
    case audioMasterAutomate:
    case audioMasterProcessEvents:
    case audioMasterSetTime:
    case audioMasterGetNumAutomatableParameters:
    case audioMasterGetParameterQuantization:
    case audioMasterIOChanged:
    case audioMasterSetOutputSampleRate:
    case audioMasterGetVendorVersion:
    case audioMasterCloseWindow:
    case audioMasterUpdateDisplay:
    case audioMasterOpenFileSelector:
    case audioMasterCloseFileSelector:
    case audioMasterEditFile:
    case audioMasterGetChunkFile:
      return 1;
    default:
      return 0;
  }
}

}  // namespace tolvaran
