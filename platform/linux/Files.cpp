#include "platform/Files.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <optional>

#include "platform/linux/BlockedSignal.h"

namespace Files {

namespace {

bool WriteAll(int fd, const std::string& content) {
  size_t written = 0;
  while (written < content.size()) {
    const ssize_t n = write(fd, content.data() + written, content.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    written += static_cast<size_t>(n);
  }
  return true;
}

// Linux follows at most this many links while resolving a path.
constexpr int kMaxLinks = 40;

// Where the data really goes: the end of a chain of symbolic links, which may not exist yet,
// else the path itself. Nothing for a loop or a chain longer than the system would follow.
std::optional<std::string> ResolvedTarget(const std::string& path) {
  std::string current = path;
  for (int links = 0; links <= kMaxLinks; ++links) {
    struct stat info {};
    if (lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
    char target[PATH_MAX];
    const ssize_t n = readlink(current.c_str(), target, sizeof target);
    if (n <= 0 || static_cast<size_t>(n) == sizeof target) return std::nullopt;
    const std::string named(target, static_cast<size_t>(n));
    // A relative target names a place beside the link.
    const size_t slash = current.rfind('/');
    current = named[0] == '/' || slash == std::string::npos ? named : current.substr(0, slash + 1) + named;
  }
  return std::nullopt;
}

// Numbers this process's temporary files, so no two saves write into one.
std::atomic<unsigned long> gTemporaries{0};
static_assert(std::atomic<unsigned long>::is_always_lock_free);
// Names taken already (left by a process that had our pid) are skipped this many times at most.
constexpr int kTemporaryAttempts = 100;

// Creates a temporary file beside target that no other save uses: O_EXCL, so neither another
// save's file nor a link planted there is opened. -1 when none can be made.
int CreateTemporary(const std::string& target, std::string& name) {
  const std::string prefix = target + ".tmp" + std::to_string(getpid()) + ".";
  for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
    name = prefix + std::to_string(gTemporaries.fetch_add(1));
    const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Closes a descriptor on every way out of a scope, a failed allocation among them.
class ClosedAtEnd {
 public:
  explicit ClosedAtEnd(int fd) : mFd(fd) {}
  ~ClosedAtEnd() { close(mFd); }
  ClosedAtEnd(const ClosedAtEnd&) = delete;
  ClosedAtEnd& operator=(const ClosedAtEnd&) = delete;

 private:
  int mFd = -1;
};

}  // namespace

LoadResult LoadFile(const std::string& path, std::string& content, size_t maxSize) {
  // Non-blocking, so opening a FIFO without a writer does not hang.
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return LoadResult::kFailed;
  const ClosedAtEnd closer(fd);
  struct stat info {};
  if (fstat(fd, &info) != 0) return LoadResult::kFailed;
  if (!S_ISREG(info.st_mode)) return LoadResult::kNotAFile;
  if (static_cast<std::uint64_t>(info.st_size) > maxSize) return LoadResult::kTooLarge;
  std::string text;
  text.reserve(static_cast<size_t>(info.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return LoadResult::kFailed;
    if (text.size() + static_cast<size_t>(n) > maxSize) return LoadResult::kTooLarge;  // it grew while read
    if (n == 0) break;
    text.append(buffer, static_cast<size_t>(n));
  }
  content = std::move(text);
  return LoadResult::kRead;
}

StagedFile::StagedFile(const std::string& path, const std::string& content) {
  const std::optional<std::string> resolved = ResolvedTarget(path);
  if (!resolved) return;
  mTarget = *resolved;
  struct stat old {};
  const bool exists = stat(mTarget.c_str(), &old) == 0;
  // Read-only by its mode even for a user whom the system would let write (root).
  const bool readOnly = exists && ((old.st_mode & 0222) == 0 || access(mTarget.c_str(), W_OK) != 0);
  if (exists && (!S_ISREG(old.st_mode) || readOnly)) return;

  const int fd = CreateTemporary(mTarget, mTemporary);
  if (fd < 0) {
    mTemporary.clear();
    return;
  }
  bool written = false;
  {
    // Past a file-size limit the write fails instead of ending the host.
    const BlockedSignal guard(SIGXFSZ);
    written = WriteAll(fd, content);
  }
  if (written && exists) written = fchmod(fd, old.st_mode & 07777) == 0;
  written = written && fsync(fd) == 0;
  written = close(fd) == 0 && written;
  mStaged = written ? SaveResult::kSaved : SaveResult::kWriteFailed;
}

StagedFile::~StagedFile() {
  if (!mTemporary.empty()) unlink(mTemporary.c_str());
}

bool StagedFile::Replace() {
  if (mStaged != SaveResult::kSaved || rename(mTemporary.c_str(), mTarget.c_str()) != 0) return false;
  mTemporary.clear();
  return true;
}

SaveResult SaveFile(const std::string& path, const std::string& content) {
  StagedFile file(path, content);
  if (file.Staged() != SaveResult::kSaved) return file.Staged();
  return file.Replace() ? SaveResult::kSaved : SaveResult::kWriteFailed;
}

bool MakeDirectory(const std::string& path) {
  if (mkdir(path.c_str(), 0755) == 0) return true;
  struct stat info {};
  return errno == EEXIST && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace Files
