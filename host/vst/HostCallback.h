// The audioMasterCallback that Tolvaran hands to a plug-in's entry point.
#pragma once

#include "vst2/Vst2Interface.h"

namespace tolvaran {

class VstPluginEx;

// The host object that answers for an effect: the VstPluginEx* in the record's user field,
// else the process-wide default host object.
VstPluginEx& host_object_of(AEffect* effect);

// Any thread the plug-in calls from (the UI thread or the capture thread); never blocks. Editor
// idle runs only when called on the UI thread, a repaint is queued to it.
intptr_t VST2_CALLBACK host_callback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                                     void* ptr, float opt);

}  // namespace tolvaran
