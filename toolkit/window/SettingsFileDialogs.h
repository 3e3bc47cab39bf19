#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/FileChooser.h"

class PluginCoreInterface;

// The open and save dialogs for settings files, in their completion form: the answer arrives at
// a later idle. One dialog at a time; a request while one is up is ignored. The folder of the
// last file chosen is remembered per product in the registry. Failures are reported (ReportError)
// and the user's files are never left half written. Editor thread.
class SettingsFileDialogs {
 public:
  using Loaded = std::function<void(const std::optional<std::string>& text)>;

  // afterwards: runs after every answer (the window is painted again).
  SettingsFileDialogs(FileChooser& chooser, PluginCoreInterface* core, std::function<void()> afterwards);

  // extension: ".korvane". done gets the file's whole text, or nothing (cancelled or unreadable).
  void Load(const std::string& extension, Loaded done);
  // A chosen name without the extension gets it.
  void Save(const std::string& data, const std::string& suggestedName, const std::string& extension);

 private:
  FileChooserRequest Request(bool save, const std::string& suggestedName, const std::string& extension) const;
  void RememberFolder(const std::string& path) const;

  FileChooser& mChooser;
  PluginCoreInterface* mCore{nullptr};
  std::function<void()> mAfterwards;
};
