#include "analyser/editor/header/UserGuide.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace {

constexpr char kGuide[] = "Quillmore/KORVANE/KORVANE User's Guide.pdf";

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::vector<std::string> DataFolders() {
  std::vector<std::string> folders;
  std::string home = Environment("XDG_DATA_HOME");
  if (home.empty() && !Environment("HOME").empty()) home = Environment("HOME") + "/.local/share";
  if (!home.empty()) folders.push_back(home);
  std::string dirs = Environment("XDG_DATA_DIRS");
  if (dirs.empty()) dirs = "/usr/local/share:/usr/share";
  for (std::size_t start = 0; start <= dirs.size();) {
    const std::size_t colon = dirs.find(':', start);
    const std::size_t end = colon == std::string::npos ? dirs.size() : colon;
    if (end > start) folders.push_back(dirs.substr(start, end - start));
    start = end + 1;
  }
  return folders;
}

}  // namespace

std::optional<std::string> FindUserGuide() {
  for (const std::string& folder : DataFolders()) {
    // Relative entries are not XDG folders.
    if (folder.front() != '/') continue;
    const std::string path = folder + "/" + kGuide;
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error)) return path;
  }
  return std::nullopt;
}
