#pragma once

#include <string>
#include <string_view>

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

// Walks a text line by line, the line feeds dropped, keeping nothing but its position: a bank
// of millions of lines is read in the memory of one line.
class Lines {
 public:
  // keepUnended: whether a last line without a line feed is read too.
  Lines(std::string_view text, bool keepUnended) : mText(text), mKeepUnended(keepUnended) {}
  // False at the end; else the next line.
  bool Next(std::string_view& line);

 private:
  std::string_view mText{};
  size_t mAt{0};
  bool mKeepUnended{false};
};

}  // namespace BankText
