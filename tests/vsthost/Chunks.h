#pragma once

#include <string>

#include "tests/vsthost/VstHost.h"

namespace vsthost {

// The effect's bank (preset false) or program chunk as bytes; empty when it gave none.
inline std::string GetChunk(Host& host, bool preset) {
  void* data = nullptr;
  const std::intptr_t size = host.Dispatch(effGetChunk, preset ? 1 : 0, 0, &data);
  return data && size > 0 ? std::string(static_cast<const char*>(data), static_cast<size_t>(size))
                          : std::string();
}

inline std::intptr_t SetChunk(Host& host, std::string chunk, bool preset) {
  return host.Dispatch(effSetChunk, preset ? 1 : 0, static_cast<std::intptr_t>(chunk.size()), chunk.data());
}

// The settings text with the value of its first attribute of that name replaced; unchanged when
// there is none.
inline std::string WithAttribute(std::string text, const std::string& name, const std::string& value) {
  const size_t at = text.find("name=\"" + name + "\"");
  if (at == std::string::npos) return text;
  const size_t from = text.find('>', at) + 1, to = text.find("</att>", from);
  if (from == 0 || to == std::string::npos) return text;
  return text.replace(from, to - from, value);
}

}  // namespace vsthost
