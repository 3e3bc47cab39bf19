#include "host/vst/TvMultimeterPlugin.h"

namespace tolvaran {

TvMultimeterPlugin::TvMultimeterPlugin(const QString& name) : VstPluginEx(name) {}

}  // namespace tolvaran
