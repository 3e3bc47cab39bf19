#include "framework/core/BankText.h"

#include "framework/archive/NumberText.h"

namespace BankText {

std::string HeaderLine(const std::string& maker, const std::string& displayName) {
  return "<!-- " + maker + displayName + std::string(kHeaderTail);
}

std::string ProgramLine(int number, const std::string& name) {
  return "<program number=\"" + NumberText::FormatInteger(number) + "\" name=\"" + name + "\">";
}

bool IsHeaderLine(std::string_view line, const std::string& maker, const std::string& displayName) {
  return line.find(maker) != std::string_view::npos && line.find(displayName) != std::string_view::npos &&
         line.find(kHeaderTail) != std::string_view::npos;
}

std::string AttributeValue(std::string_view line, std::string_view name) {
  const size_t at = line.find(name);
  if (at == std::string_view::npos) return {};
  const size_t open = line.find('"', at + name.size());
  if (open == std::string_view::npos) return {};
  const size_t close = line.find('"', open + 1);
  if (close == std::string_view::npos) return {};
  return std::string(line.substr(open + 1, close - open - 1));
}

bool Lines::Next(std::string_view& line) {
  if (mAt >= mText.size()) return false;
  size_t end = mText.find('\n', mAt);
  if (end == std::string_view::npos) {
    if (!mKeepUnended) {
      mAt = mText.size();
      return false;
    }
    end = mText.size();
  }
  line = mText.substr(mAt, end - mAt);
  mAt = end + 1;
  return true;
}

}  // namespace BankText
