#pragma once

#include <string>

// Whole-file access for settings files.
namespace Files {

// The path separator of this platform.
constexpr char kSeparator = '/';

// False when the file cannot be opened or read whole.
bool ReadFile(const std::string& path, std::string& content);
// Writes a temporary file beside the target and renames it over the target, so a failed write
// never loses the old file. False when any step fails.
bool WriteFileAtomically(const std::string& path, const std::string& content);
// Creates one directory level; true when it exists afterwards.
bool MakeDirectory(const std::string& path);

}  // namespace Files
