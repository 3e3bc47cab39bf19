#pragma once

#include <cstdint>
#include <string>

// A threshold as its display shows it: one decimal for precision 1, two for 2, none otherwise;
// at most 31 characters for any value, in the C locale.
std::string FormatThreshold(float value, std::int32_t precision);

// A typed threshold: a decimal comma reads as a point; the number at the start of the text, 0
// when the text does not start with one; the C locale whatever the host set.
float ParseThreshold(std::string text);
