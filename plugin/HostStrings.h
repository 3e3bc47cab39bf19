#pragma once

#include <cstddef>
#include <string_view>

// Copies text into a host's buffer of `size` bytes: cut to fit, always terminated; a null
// buffer is left alone.
inline void CopyToHostBuffer(char* buffer, std::string_view text, size_t size) {
  if (!buffer || size == 0) return;
  const size_t length = text.size() < size - 1 ? text.size() : size - 1;
  text.copy(buffer, length);
  buffer[length] = '\0';
}
