#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

struct FileFilter {
  std::string name;     // "Settings Files (.korvane)"
  std::string pattern;  // "*.korvane"
};

struct FileChooserRequest {
  bool save = false;
  std::string title;
  std::string directory;      // where the dialog starts; empty: the current directory
  std::string suggestedName;  // the name a save dialog offers
  std::vector<FileFilter> filters;
};

// The chosen path, or nothing when the user cancelled or no dialog could be shown.
using FileChosen = std::function<void(const std::optional<std::string>& path)>;

// Open and save dialogs that never block the caller: the answer arrives from a later Poll.
// One dialog at a time. Lives on the editor's thread.
class FileChooser {
 public:
  virtual ~FileChooser() = default;
  // False, and the request ignored, while a dialog is up.
  virtual bool Begin(const FileChooserRequest& request, FileChosen done) = 0;
  // Delivers the answer once the dialog has ended.
  virtual void Poll() = 0;
  // Takes a running dialog down; its answer is never delivered.
  virtual void Cancel() = 0;
  virtual bool IsRunning() const = 0;
};
