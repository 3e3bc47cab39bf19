#include "analyser/editor/header/KVNHeaderFrame.h"

#include <sstream>

#include "analyser/editor/alarms/AlarmWidgetSupport.h"
#include "analyser/editor/header/StripButton.h"
#include "analyser/engine/Korvane.h"
#include "analyser/engine/KorvaneMetaClass.h"
#include "analyser/resources/BitmapInventory.h"
#include "framework/core/ErrorReporting.h"
#include "framework/core/PluginMetaClass.h"
#include "toolkit/controls/PixMapButton.h"
#include "toolkit/editor/PluginUIRoot.h"
#include "toolkit/frames/Redraw.h"
#include "toolkit/window/WindowContext.h"

namespace {
constexpr char kExtension[] = ".korvane";

// Both buttons follow the strip's right edge. They take clicks with Shift alone held, which act on
// the default settings, and no other modified clicks.
constexpr bool kTakeCtrlShift = false, kTakeCtrl = false, kTakeExtra = false, kTakeShift = true;
constexpr StripButton kButtons[] = {
    MakeStripButton(KVNHeaderFrame::kLoad, StripButton::kFromRight, 36, 5, "load button"),
    MakeStripButton(KVNHeaderFrame::kSave, StripButton::kFromRight, 22, 5, "save button"),
};

SettingsFileDialogs* Dialogs(PluginUIRoot* root) {
  auto* window = root ? dynamic_cast<WindowContext*>(root->GetWindowContext()) : nullptr;
  return window ? &window->GetSettingsFileDialogs() : nullptr;
}
}  // namespace

std::string SettingsFileData(const std::string& settingsText) {
  const std::size_t zero = settingsText.find('\0');
  if (zero == std::string::npos) return settingsText + '\0';
  return settingsText.substr(0, zero + 1);
}

KVNHeaderFrame::KVNHeaderFrame(Korvane* plugin, Frame* parent, std::int32_t x, std::int32_t y,
                               std::int32_t width, std::int32_t sourceX, std::int32_t sourceY,
                               std::int32_t bitmapId)
    : PixMapDrawFrame(parent, x, y, width, kHeight, 0, 0, nullptr, 0, 0),
      ControlContainer(plugin, 0),
      mPlugin(plugin),
      mBackground(GetRoot(), bitmapId),
      mSprites(GetRoot(), bitmaps::kSprites) {
  SetPixMap(mBackground.Get(), sourceX, sourceY, kRedraw);
  for (const StripButton& row : kButtons) {
    ActionButton* button = NewStripButton(this, row, mSprites.Get());
    button->SetModifierClicks(kTakeCtrlShift, kTakeCtrl, kTakeExtra, kTakeShift);
    AddControl(button, row.id, kNotOwned);
  }
}

void KVNHeaderFrame::ControlValueChanged(std::int32_t key, std::int32_t, GenericControl*) {
  const bool shift = IsShiftAlone(GetRoot());
  if (key == kLoad && shift) {
    if (!mPlugin->LoadDefaultSettings(KorvaneProduct::kDisplayName))
      ReportError(mPlugin, "Can't load default settings.", "", 0, kErrorError);
  } else if (key == kLoad) {
    LoadSettingsFile();
  } else if (key == kSave && shift) {
    if (mPlugin->SaveDefaultSettings(KorvaneProduct::kDisplayName))
      ReportError(mPlugin, "Default settings saved.", "", 0, kErrorInformation);
    else
      ReportError(mPlugin, "Can't save default settings.", "", 0, kErrorError);
  } else if (key == kSave) {
    SaveSettingsFile();
  }
}

void KVNHeaderFrame::LoadSettingsFile() {
  SettingsFileDialogs* dialogs = Dialogs(GetRoot());
  if (!dialogs) return;
  // The dialogs go with the window, before this frame: an answer never outlives the editor.
  dialogs->Load(kExtension, [this](const std::optional<std::string>& text) {
    if (text) mPlugin->ApplySettingsText(*text);
    RedrawEditor();
  });
}

void KVNHeaderFrame::SaveSettingsFile() {
  SettingsFileDialogs* dialogs = Dialogs(GetRoot());
  if (!dialogs) return;
  std::ostringstream text;
  mPlugin->SaveSettings(text);
  const ZEBPluginMetaClass* metaClass = GetPluginMetaClass();
  const std::string name = (metaClass ? metaClass->GetProductName() : std::string()) + " Settings";
  dialogs->Save(SettingsFileData(text.str()), name, kExtension);
  RedrawEditor();
}

void KVNHeaderFrame::RedrawEditor() {
  Redraw(nullptr, true);
  if (Frame* root = GetRoot()->GetRootFrame()) root->Invalidate();
}
