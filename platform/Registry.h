#pragma once

#include <cstddef>
#include <optional>
#include <string>

// String values kept under registry-style key paths ("Software\Quillmore\Default Settings").
// An empty value name stands for the key's default value.
namespace Registry {

// A store holds a few folders; a larger one is not read, and the next write sets it aside.
constexpr size_t kMaxStoreSize = size_t{256} << 10;

// The value as the user's store has it, else as a read-only system store has it.
std::optional<std::string> ReadString(const std::string& keyPath, const std::string& valueName);
// Writes the value into the user's store; false when that fails, also when another process is
// writing it at the moment (its lock is tried, never waited for).
bool WriteString(const std::string& keyPath, const std::string& valueName, const std::string& value);

// The folder that holds the user's store; empty when the user has none (no home).
std::string StoreFolder();
// Creates that folder, and the one above it, where they are missing: the folder, or empty when
// it cannot be made.
std::string MakeStoreFolder();

}  // namespace Registry
