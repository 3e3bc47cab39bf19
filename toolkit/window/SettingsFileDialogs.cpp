#include "toolkit/window/SettingsFileDialogs.h"

#include "framework/core/ErrorReporting.h"
#include "framework/core/PluginMetaClass.h"
#include "platform/Files.h"
#include "platform/Registry.h"

namespace {

const char kRecentDirectoriesKey[] = "Software\\Quillmore\\Recent Directories\\";

std::string ProductName() {
  const ZEBPluginMetaClass* metaClass = GetPluginMetaClass();
  return metaClass ? metaClass->GetProductName() : std::string();
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

SettingsFileDialogs::SettingsFileDialogs(FileChooser& chooser, PluginCoreInterface* core,
                                         std::function<void()> afterwards)
    : mChooser(chooser), mCore(core), mAfterwards(std::move(afterwards)) {}

FileChooserRequest SettingsFileDialogs::Request(bool save, const std::string& suggestedName,
                                                const std::string& extension) const {
  FileChooserRequest request;
  request.save = save;
  request.title = save ? "Save Settings" : "Load Settings";
  request.directory = Registry::ReadString(kRecentDirectoriesKey, ProductName()).value_or("");
  request.suggestedName = suggestedName;
  request.filters = {{"Settings Files (" + extension + ")", "*" + extension}, {"All Files (*.*)", "*"}};
  return request;
}

void SettingsFileDialogs::RememberFolder(const std::string& path) const {
  const size_t slash = path.rfind(Files::kSeparator);
  if (slash == std::string::npos) return;
  Registry::WriteString(kRecentDirectoriesKey, ProductName(), slash == 0 ? "/" : path.substr(0, slash));
}

void SettingsFileDialogs::Load(const std::string& extension, Loaded done) {
  mChooser.Begin(Request(false, "", extension), [this, done](const std::optional<std::string>& path) {
    std::optional<std::string> text;
    if (path) {
      RememberFolder(*path);
      std::string content;
      if (Files::ReadFile(*path, content)) {
        text = std::move(content);
      } else {
        ReportError(
            mCore, "Unable to load settings",
            "There was an error reading from the file and the settings\t\t\t\t\t\t\tcould not be loaded.", 0,
            kErrorError);
      }
    }
    if (done) done(text);
    if (mAfterwards) mAfterwards();
  });
}

void SettingsFileDialogs::Save(const std::string& data, const std::string& suggestedName,
                               const std::string& extension) {
  mChooser.Begin(Request(true, suggestedName, extension),
                 [this, data, extension](const std::optional<std::string>& chosen) {
                   if (chosen) {
                     const std::string path = EndsWith(*chosen, extension) ? *chosen : *chosen + extension;
                     RememberFolder(path);
                     switch (Files::SaveFile(path, data)) {
                       case Files::SaveResult::kSaved:
                         break;
                       case Files::SaveResult::kCannotCreate:
                         ReportError(mCore, "Unable to save settings",
                                     "The selected file could not be opened or created.", 0, kErrorError);
                         break;
                       case Files::SaveResult::kWriteFailed:
                         ReportError(mCore, "Unable to save settings",
                                     "The settings were not successfully saved.", 0, kErrorError);
                         break;
                     }
                   }
                   if (mAfterwards) mAfterwards();
                 });
}
