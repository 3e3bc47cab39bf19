#pragma once

#include <string>

// An archive text with every object id replaced by X: ids come from a process-wide counter, so
// two saves of one state differ only there.
inline std::string WithoutIds(std::string text) {
  for (size_t at = 0; (at = text.find("<obj id=\"", at)) != std::string::npos; at += 9)
    text.replace(at + 9, 10, "X");
  return text;
}
