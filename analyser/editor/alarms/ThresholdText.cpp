#include "analyser/editor/alarms/ThresholdText.h"

#include <algorithm>
#include <charconv>
#include <locale>
#include <sstream>

std::string FormatThreshold(float value, std::int32_t precision) {
  constexpr std::size_t kMaxLength = 31;
  const int digits = precision == 1 || precision == 2 ? precision : 0;
  char text[kMaxLength];
  auto result = std::to_chars(text, text + kMaxLength, value, std::chars_format::fixed, digits);
  // Too long in fixed notation (beyond about 1e30): the same digits in exponent form.
  if (result.ec != std::errc())
    result = std::to_chars(text, text + kMaxLength, value, std::chars_format::scientific, digits);
  return std::string(text, result.ec == std::errc() ? result.ptr : text);
}

float ParseThreshold(std::string text) {
  std::replace(text.begin(), text.end(), ',', '.');
  std::istringstream in(text);
  in.imbue(std::locale::classic());
  float value = 0.0f;
  in >> value;
  return value;
}
