#include "analyser/editor/values/KVNTextConvertor.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

const KVNPercentageConvertor kPercentageConvertor{};
const KVNCorrConvertor kCorrConvertor{};
const KVNBalanceLevelConvertor kBalanceLevelConvertor{};
const KVNSideMidRatioDbConvertor kSideMidRatioDbConvertor{};

namespace {

// dB values beyond this show as this: the widest text stays short and infinities show a number.
constexpr float kDbLimit = 150.0f;
constexpr float kCorrelationLimit = 100.0f;

// Appends to a text being built; what does not fit is cut, never overrun.
class TextBuilder {
 public:
  void Sign(bool plus) { Append(plus ? "+" : ""); }
  void Fixed(float value, int decimals) {
    char* const end = mText.text + ValueText::kCapacity - 1;
    const auto result = std::to_chars(mText.text + mLength, end, value, std::chars_format::fixed, decimals);
    if (result.ec == std::errc()) mLength = static_cast<std::size_t>(result.ptr - mText.text);
  }
  void Append(const char* text) {
    const std::size_t n = std::min(std::strlen(text), ValueText::kCapacity - 1 - mLength);
    std::memcpy(mText.text + mLength, text, n);
    mLength += n;
  }
  ValueText Done() {
    mText.text[mLength] = '\0';
    return mText;
  }

 private:
  ValueText mText{};
  std::size_t mLength = 0;
};

float Clean(float value, float limit) { return std::isnan(value) ? 0.0f : std::clamp(value, -limit, limit); }

}  // namespace

ValueText KVNPercentageConvertor::Convert(float value) const {
  TextBuilder text;
  text.Fixed(std::clamp(Clean(value, 100.0f), 0.0f, 100.0f), 0);
  return text.Done();
}

ValueText KVNCorrConvertor::Convert(float value) const {
  const float v = Clean(value, kCorrelationLimit);
  TextBuilder text;
  if (v == 0.0f) {
    text.Append("0");
  } else {
    text.Sign(!std::signbit(v));
    text.Fixed(v, 0);
  }
  return text.Done();
}

ValueText KVNBalanceLevelConvertor::Convert(float value) const {
  const float v = Clean(value, kDbLimit);
  TextBuilder text;
  if (std::fabs(v) < 0.1f) {
    text.Append("0.0");
  } else {
    text.Fixed(std::fabs(v), 1);
    text.Append(v >= 0.0f ? " R" : " L");
  }
  return text.Done();
}

ValueText KVNSideMidRatioDbConvertor::Convert(float value) const {
  const float v = Clean(value, kDbLimit);
  TextBuilder text;
  if (v > -kDbLimit)
    text.Fixed(v, 1);
  else
    text.Append("-inf");
  return text.Done();
}
