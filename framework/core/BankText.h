#pragma once

#include <string>
#include <string_view>
#include <vector>

// Pieces of the program bank text shared by its writer and readers.
namespace BankText {

constexpr std::string_view kHeaderTail = " Program Settings -->";
constexpr std::string_view kProgramOpen = "<program";
constexpr std::string_view kProgramClose = "</program>";

// "<program number="N" name="NAME">"
std::string ProgramLine(int number, const std::string& name);

// "<!-- " + maker + display name + " Program Settings -->"
std::string HeaderLine(const std::string& maker, const std::string& displayName);
bool IsHeaderLine(std::string_view line, const std::string& maker, const std::string& displayName);

// The text between the first two double quotes after the first occurrence of `name` in the
// line; empty when there are none.
std::string AttributeValue(std::string_view line, std::string_view name);

// The text split at line feeds; the line feeds are dropped, a last line without one is kept.
std::vector<std::string_view> SplitLines(std::string_view text);

}  // namespace BankText
