#include "framework/core/DefaultSettings.h"

#include <cstring>

#include "platform/Files.h"
#include "platform/Registry.h"

const char* const kRegistryRoot = "Software\\Quillmore\\";

std::string ReadRegistryValue(const std::string& name) {
  return Registry::ReadString(kRegistryRoot + name, "").value_or(std::string());
}

namespace {

// The folder an installer named; empty where none did.
std::string NamedDefaultSettingsDirectory() { return ReadRegistryValue("Default Settings"); }

}  // namespace

std::string ReadDefaultSettingsDirectory() {
  // Where no installer named a folder, the files live beside the store.
  const std::string named = NamedDefaultSettingsDirectory();
  return named.empty() ? Registry::StoreFolder() : named;
}

std::string DefaultSettingsPath(const std::string& directory, const std::string& name) {
  return directory + Files::kSeparator + name + ".default";
}

bool ReadDefaultSettingsFile(const std::string& name, std::string& text) {
  const std::string directory = ReadDefaultSettingsDirectory();
  return !directory.empty() && Files::ReadFile(DefaultSettingsPath(directory, name), text);
}

bool WriteDefaultSettingsFile(const std::string& name, const std::string& text) {
  const std::string named = NamedDefaultSettingsDirectory();
  const std::string directory = named.empty() ? Registry::StoreFolder() : named;
  if (directory.empty()) return false;
  const std::string path = DefaultSettingsPath(directory, name);
  if (Files::WriteFileAtomically(path, text)) return true;
  // A named folder gets one level; the store's own folder is made as the store makes it.
  const bool made = named.empty() ? !Registry::MakeStoreFolder().empty() : Files::MakeDirectory(directory);
  return made && Files::WriteFileAtomically(path, text);
}

void TokenizeString(const char* text, const char* delimiters, std::vector<std::string>& pieces,
                    bool keepEmpty) {
  pieces.clear();
  if (!text || !*text) return;
  const char* start = text;
  for (const char* at = text;; ++at) {
    const bool end = *at == '\0';
    if (end || (delimiters && std::strchr(delimiters, *at))) {
      if (at != start || keepEmpty) pieces.emplace_back(start, at);
      if (end) break;
      start = at + 1;
    }
  }
}
