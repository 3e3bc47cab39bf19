#include "host/vst/ChunkFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>

namespace tolvaran {

bool read_whole_file(const char* file_name, std::vector<char>& bytes) {
  bytes.clear();
  // Non-blocking open: a named pipe in the file's place must not hang the program.
  const int fd = open(file_name, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  bool ok = fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= 0 &&
            static_cast<unsigned long long>(info.st_size) <= kMaxChunkFileBytes;
  if (ok) {
    try {
      bytes.reserve(static_cast<size_t>(info.st_size) + 1);  // room for a terminator
      bytes.assign(static_cast<size_t>(info.st_size), '\0');
    } catch (const std::bad_alloc&) {
      ok = false;
    }
  }
  // A file that shrank meanwhile leaves zeros behind; one that grew is cut at the size.
  for (size_t done = 0; ok && done < bytes.size();) {
    const ssize_t n = read(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) ok = false;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  ::close(fd);
  if (!ok) bytes.clear();
  return ok;
}

bool write_whole_file(const char* file_name, const void* bytes, size_t length) {
  if (!bytes && length) return false;
  std::FILE* file = std::fopen(file_name, "wb+");
  if (!file) return false;
  const bool written = length == 0 || std::fwrite(bytes, 1, length, file) == length;
  const bool closed = std::fclose(file) == 0;
  return written && closed;
}

size_t drop_carriage_returns(char* text, size_t length) {
  size_t out = 0;
  for (size_t i = 0; i < length; ++i) {
    if (text[i] == '\r' && i + 1 < length && text[i + 1] == '\n') continue;
    text[out++] = text[i];
  }
  std::memset(text + out, 0, length - out);
  return out;
}

}  // namespace tolvaran
