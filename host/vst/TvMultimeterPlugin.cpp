#include "host/vst/TvMultimeterPlugin.h"

TvMultimeterPlugin::TvMultimeterPlugin(const QString& name) : VstPluginEx(name) {}
