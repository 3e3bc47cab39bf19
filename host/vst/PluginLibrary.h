// Loading a plug-in library and finding its VST 2 entry point.
#pragma once

#include "vst2/Vst2Interface.h"

namespace tolvaran {

// An opaque handle of a loaded library; null when nothing is loaded.
using PluginLibraryHandle = void*;

// Loads a library by file name. A bare name is looked for next to the executable first,
// then through the loader's normal search. Null on failure.
PluginLibraryHandle open_plugin_library(const char* file_name);

// "VSTPluginMain", else "main", but only a symbol that the library itself defines: a
// search that lands in another object (the host's own main) answers null.
VstPluginMainProc find_plugin_entry(PluginLibraryHandle library);

void close_plugin_library(PluginLibraryHandle library);

}  // namespace tolvaran
