// The plug-in object that the audio engine hosts.
#pragma once

#include "host/vst/VstPluginEx.h"

class TvMultimeterPlugin : public VstPluginEx {
  Q_OBJECT

 public:
  explicit TvMultimeterPlugin(const QString& name);
};
