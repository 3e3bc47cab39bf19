// The plug-in object that the audio engine hosts. Final: VstPluginEx closes the plug-in in its
// destructor, which must be the most derived one for the object to be whole then.
#pragma once

#include "host/vst/VstPluginEx.h"

namespace tolvaran {

class TvMultimeterPlugin final : public VstPluginEx {
  Q_OBJECT

 public:
  explicit TvMultimeterPlugin(const QString& name);
};

}  // namespace tolvaran
