#pragma once

#include <cstdint>
#include <string>

#include "toolkit/controls/ControlContainer.h"
#include "toolkit/editor/PixMapRef.h"
#include "toolkit/frames/PixMapDrawFrame.h"

class Korvane;
class GenericControl;

// The editor's top strip: loads and saves settings files, and with Shift alone held at the
// release the default settings. The dialogs answer at a later idle; a click while one is up does
// nothing, and closing the editor drops the answer. Editor thread.
class KVNHeaderFrame : public PixMapDrawFrame, public ControlContainer {
 public:
  static constexpr std::int32_t kHeight = 24;
  enum ButtonId : std::int32_t { kLoad = 0, kSave = 1 };

  KVNHeaderFrame(Korvane* plugin, Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width,
                 std::int32_t sourceX, std::int32_t sourceY, std::int32_t bitmapId);

  void ControlValueChanged(std::int32_t key, std::int32_t value, GenericControl* sender) override;

 private:
  void LoadSettingsFile();
  void SaveSettingsFile();
  void RedrawEditor();

  Korvane* mPlugin{nullptr};
  PixMapRef mBackground;
  PixMapRef mSprites;
};

// What a settings file holds of a saved settings text: everything up to and including its first
// zero byte (one is added when there is none).
std::string SettingsFileData(const std::string& settingsText);
