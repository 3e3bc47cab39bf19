#pragma once

#include <cstddef>
#include <string>

// Whole-file access for settings files.
namespace Files {

// The path separator of this platform.
constexpr char kSeparator = '/';
// Nothing larger is read as a settings file.
constexpr size_t kMaxFileSize = size_t{16} << 20;

enum class LoadResult {
  kRead,
  kTooLarge,  // over the size asked for, also when it grew past it while read
  kNotAFile,  // a folder, a FIFO, a device
  kFailed,    // not opened or not read: missing, not permitted, no descriptor or memory free, an I/O error
};

// Reads path whole when it is a regular file of at most maxSize bytes; a FIFO or a device is
// refused without being waited on. content is left as it was unless the file was read.
LoadResult LoadFile(const std::string& path, std::string& content, size_t maxSize = kMaxFileSize);
inline bool ReadFile(const std::string& path, std::string& content, size_t maxSize = kMaxFileSize) {
  return LoadFile(path, content, maxSize) == LoadResult::kRead;
}

enum class SaveResult {
  kSaved,
  kCannotCreate,  // the target or its temporary file could not be opened or created
  kWriteFailed,   // the data did not all reach the disk
};

// A save in two steps, for a caller with something to do once the content is safely written: the
// constructor writes it into a temporary file of this save's own beside the target, and Replace
// renames that over the target. The temporary is removed unless it replaced the target. The old
// file's mode is kept; a chain of symbolic links keeps pointing at its end, which is replaced or
// created; a link loop and a target the user may not write are refused. A write past the
// process's file-size limit fails without ending the process.
class StagedFile {
 public:
  StagedFile(const std::string& path, const std::string& content);
  ~StagedFile();
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  // kSaved once the temporary holds the whole content.
  SaveResult Staged() const { return mStaged; }
  // The file that Replace replaces or creates: the end of the chain of links.
  const std::string& Target() const { return mTarget; }
  // False, with the target as it was, when the content was not staged or the rename fails.
  bool Replace();

 private:
  std::string mTarget;
  std::string mTemporary;  // empty once it replaced the target or was removed
  SaveResult mStaged = SaveResult::kCannotCreate;
};

// Stages the content and replaces the target with it, so a failed write never loses the old file
// and leaves no temporary file, and saves of one path at once each leave a whole file.
SaveResult SaveFile(const std::string& path, const std::string& content);
inline bool WriteFileAtomically(const std::string& path, const std::string& content) {
  return SaveFile(path, content) == SaveResult::kSaved;
}
// Creates one directory level; true when it exists afterwards.
bool MakeDirectory(const std::string& path);

}  // namespace Files
