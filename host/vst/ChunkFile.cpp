#include "host/vst/ChunkFile.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <new>

bool read_whole_file(const char* file_name, std::vector<char>& bytes) {
  bytes.clear();
  std::FILE* file = std::fopen(file_name, "rb");
  if (!file) return false;
  struct stat info {};
  bool ok = fstat(fileno(file), &info) == 0 && S_ISREG(info.st_mode) && info.st_size >= 0 &&
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
  if (ok && !bytes.empty()) {
    std::fread(bytes.data(), 1, bytes.size(), file);
    ok = !std::ferror(file);
  }
  std::fclose(file);
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
