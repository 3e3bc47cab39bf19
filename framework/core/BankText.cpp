#include "framework/core/BankText.h"

namespace BankText {

std::string HeaderLine(const std::string& maker, const std::string& displayName) {
  return "<!-- " + maker + displayName + std::string(kHeaderTail);
}

bool IsHeaderLine(std::string_view line, const std::string& maker, const std::string& displayName) {
  return line.find(maker) != std::string_view::npos && line.find(displayName) != std::string_view::npos &&
         line.find(kHeaderTail) != std::string_view::npos;
}

std::string AttributeValue(std::string_view line, std::string_view name) {
  size_t at = 0;
  while ((at = line.find(name, at)) != std::string_view::npos) {
    const bool startsWord = at == 0 || line[at - 1] == ' ' || line[at - 1] == '\t';
    const size_t quote = at + name.size() + 1;
    if (startsWord && quote < line.size() && line[at + name.size()] == '=' && line[quote] == '"') {
      const size_t end = line.find('"', quote + 1);
      if (end == std::string_view::npos) return {};
      return std::string(line.substr(quote + 1, end - quote - 1));
    }
    at += name.size();
  }
  return {};
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

}  // namespace BankText
