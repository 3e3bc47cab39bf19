#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Numbers as archive and settings texts hold them: always the C locale's notation, whatever
// locale the host process set.
namespace NumberText {

std::string FormatInteger(std::int64_t value);
std::string FormatUnsigned(std::uint64_t value, int minimumDigits);
std::string FormatFixed(double value, int decimals);
// Up to six significant digits, as a stream writes a double by default.
std::string FormatShort(double value);

// Like strtod in the C locale: leading white space, a sign, a decimal number; 0 when none can be
// read. `consumed` gets the characters used (0 when none).
double ParseDouble(std::string_view text, size_t* consumed = nullptr);
// Like strtol with base 0 where long has 32 bits: leading white space, a sign, then hexadecimal
// after 0x, octal after 0, else decimal; saturates at the 32-bit limits.
std::int32_t ParseLong32(std::string_view text);
// A decimal 64-bit integer after leading white space and one sign; reading stops at the first
// other character; saturates at the limits.
std::int64_t ParseInt64(std::string_view text);
// A double as a 64-bit integer: the fraction dropped, out-of-range values saturated, NaN as 0.
std::int64_t DoubleToInt64(double value);

}  // namespace NumberText
