#pragma once

#include <cstddef>
#include <string>

// Whole-file access for settings files.
namespace Files {

// The path separator of this platform.
constexpr char kSeparator = '/';
// Nothing larger is read as a settings file.
constexpr size_t kMaxFileSize = size_t{16} << 20;

// False unless path is a regular file of at most maxSize bytes read whole; a FIFO or a device is
// refused without being waited on.
bool ReadFile(const std::string& path, std::string& content, size_t maxSize = kMaxFileSize);

enum class SaveResult {
  kSaved,
  kCannotCreate,  // the target or its temporary file could not be opened or created
  kWriteFailed,   // the data did not all reach the disk
};

// Writes a temporary file of this save's own beside the target and renames it over the target, so
// a failed write never loses the old file and leaves no temporary file, and saves of one path at
// once each leave a whole file. The old file's mode is kept; a chain of symbolic links keeps pointing
// at its end, which is replaced or created; a link loop and a target the user may not write are
// refused. A write past the process's file-size limit fails without ending the process.
SaveResult SaveFile(const std::string& path, const std::string& content);
inline bool WriteFileAtomically(const std::string& path, const std::string& content) {
  return SaveFile(path, content) == SaveResult::kSaved;
}
// Creates one directory level; true when it exists afterwards.
bool MakeDirectory(const std::string& path);

}  // namespace Files
