#pragma once

#include <string>
#include <vector>

// The default settings files, in the folder the registry names (a value only read, never written)
// or else the folder that holds the registry store, and the registry values the framework reads.
extern const char* const kRegistryRoot;  // "Software\Quillmore\"

// The default value of the key kRegistryRoot + name; empty when there is none.
std::string ReadRegistryValue(const std::string& name);
// The "Default Settings" folder the registry names, else the store's folder; empty without either.
std::string ReadDefaultSettingsDirectory();
std::string DefaultSettingsPath(const std::string& directory, const std::string& name);
// False without a default settings folder or when the file cannot be read whole.
bool ReadDefaultSettingsFile(const std::string& name, std::string& text);
// Creates the folder when it is missing (a named folder one level, the store's folder as the
// store would); false when the file cannot be written.
bool WriteDefaultSettingsFile(const std::string& name, const std::string& text);

// Cuts text at any of the delimiters; empty pieces are kept only when asked for.
void TokenizeString(const char* text, const char* delimiters, std::vector<std::string>& pieces,
                    bool keepEmpty);
