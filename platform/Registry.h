#pragma once

#include <optional>
#include <string>

// String values kept under registry-style key paths ("Software\Quillmore\Default Settings").
// An empty value name stands for the key's default value.
namespace Registry {

// The value as the user's store has it, else as a read-only system store has it.
std::optional<std::string> ReadString(const std::string& keyPath, const std::string& valueName);
// Writes the value into the user's store; false when that fails, also when another process is
// writing it at the moment (its lock is tried, never waited for).
bool WriteString(const std::string& keyPath, const std::string& valueName, const std::string& value);

}  // namespace Registry
