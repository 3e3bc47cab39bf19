#pragma once

#include <string>
#include <vector>

// The machine-wide default settings files, in the folder the registry names, and the
// registry values the framework reads.
extern const char* const kRegistryRoot;  // "Software\Quillmore\"

// The default value of the key kRegistryRoot + name; empty when there is none.
std::string ReadRegistryValue(const std::string& name);
std::string ReadDefaultSettingsDirectory();
std::string DefaultSettingsPath(const std::string& directory, const std::string& name);
// False without a default settings folder or when the file cannot be read whole.
bool ReadDefaultSettingsFile(const std::string& name, std::string& text);
// Creates the folder (one level) when it is missing; false when the file cannot be written.
bool WriteDefaultSettingsFile(const std::string& name, const std::string& text);

// Cuts text at any of the delimiters; empty pieces are kept only when asked for.
void TokenizeString(const char* text, const char* delimiters, std::vector<std::string>& pieces,
                    bool keepEmpty);
