#include "framework/archive/NumberText.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace NumberText {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

size_t SkipSpace(std::string_view text, size_t at) {
  while (at < text.size() && IsSpace(text[at])) ++at;
  return at;
}

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'z') return c - 'a' + 10;
  if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
  return 99;
}

// Digits of the base from `at`, accumulated with saturation at `limit`.
std::uint64_t ParseDigits(std::string_view text, size_t at, int base, std::uint64_t limit) {
  std::uint64_t value = 0;
  for (; at < text.size(); ++at) {
    const int digit = DigitValue(text[at]);
    if (digit >= base) break;
    value = value > (limit - static_cast<std::uint64_t>(digit)) / static_cast<std::uint64_t>(base)
                ? limit
                : value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
  }
  return value;
}

std::string Chars(const char* begin, const char* end) { return std::string(begin, end); }

}  // namespace

std::string FormatInteger(std::int64_t value) {
  char buffer[32];
  return Chars(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

std::string FormatUnsigned(std::uint64_t value, int minimumDigits) {
  char buffer[32];
  std::string digits = Chars(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
  if (static_cast<int>(digits.size()) < minimumDigits) digits.insert(0, minimumDigits - digits.size(), '0');
  return digits;
}

std::string FormatFixed(double value, int decimals) {
  char buffer[400];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  return result.ec == std::errc() ? Chars(buffer, result.ptr) : std::string("0");
}

std::string FormatShort(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 6);
  return result.ec == std::errc() ? Chars(buffer, result.ptr) : std::string("0");
}

double ParseDouble(std::string_view text, size_t* consumed) {
  size_t at = SkipSpace(text, 0);
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  std::chars_format format = std::chars_format::general;
  const bool hex = at + 2 < text.size() && text[at] == '0' && (text[at + 1] == 'x' || text[at + 1] == 'X') &&
                   (DigitValue(text[at + 2]) < 16 || text[at + 2] == '.');
  if (hex) {
    format = std::chars_format::hex;
    at += 2;
  }
  double value = 0.0;
  const char* begin = text.data() + at;
  const char* end = text.data() + text.size();
  // from_chars takes a minus sign of its own; strtod allows one sign only.
  if (begin == end || *begin == '-' || *begin == '+') {
    if (consumed) *consumed = 0;
    return 0.0;
  }
  const auto result = std::from_chars(begin, end, value, format);
  if (result.ec == std::errc::invalid_argument || result.ptr == begin) {
    if (consumed) *consumed = 0;
    return 0.0;
  }
  if (result.ec == std::errc::result_out_of_range) {
    // from_chars leaves the value alone: give what strtod gives, zero or a huge value.
    const std::string_view number(begin, static_cast<size_t>(result.ptr - begin));
    const size_t exponent = number.find_first_of(hex ? "pP" : "eE");
    const bool tiny = exponent != std::string_view::npos
                          ? exponent + 1 < number.size() && number[exponent + 1] == '-'
                          : number.find_first_of("123456789abcdefABCDEF") > number.find('.');
    value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
  }
  if (consumed) *consumed = static_cast<size_t>(result.ptr - text.data());
  return negative ? -value : value;
}

std::int32_t ParseLong32(std::string_view text) {
  size_t at = SkipSpace(text, 0);
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  int base = 10;
  if (at < text.size() && text[at] == '0') {
    base = 8;
    if (at + 2 < text.size() && (text[at + 1] == 'x' || text[at + 1] == 'X') &&
        DigitValue(text[at + 2]) < 16) {
      base = 16;
      at += 2;
    }
  }
  const std::uint64_t limit = negative ? 2147483648ull : 2147483647ull;
  const std::uint64_t magnitude = ParseDigits(text, at, base, limit);
  return negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude))
                  : static_cast<std::int32_t>(magnitude);
}

std::int64_t ParseInt64(std::string_view text) {
  size_t at = SkipSpace(text, 0);
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  const std::uint64_t limit = negative ? 9223372036854775808ull : 9223372036854775807ull;
  const std::uint64_t magnitude = ParseDigits(text, at, 10, limit);
  if (!negative) return static_cast<std::int64_t>(magnitude);
  return magnitude == limit ? std::numeric_limits<std::int64_t>::min()
                            : -static_cast<std::int64_t>(magnitude);
}

std::int64_t DoubleToInt64(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 9223372036854775808.0) return std::numeric_limits<std::int64_t>::max();
  if (value < -9223372036854775808.0) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(value);
}

}  // namespace NumberText
