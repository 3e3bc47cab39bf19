#pragma once

#include <cstddef>

// A measured value as the text of a value display: at most 14 characters, always the C
// locale's digits and point whatever locale the host set.
struct ValueText {
  static constexpr std::size_t kCapacity = 15;  // with the terminating zero
  char text[kCapacity] = {};
  const char* c_str() const { return text; }
};

// Turns a value display's value into its text. NaN gives the text of zero; values beyond the
// display's range show as its end.
class KVNTextConvertor {
 public:
  constexpr KVNTextConvertor() = default;
  virtual ~KVNTextConvertor() = default;
  virtual ValueText Convert(float value) const = 0;
};

// 0 to 100, no decimals.
class KVNPercentageConvertor : public KVNTextConvertor {
 public:
  ValueText Convert(float value) const override;
};

// Correlation x 100, signed, no decimals; 0 without a sign.
class KVNCorrConvertor : public KVNTextConvertor {
 public:
  ValueText Convert(float value) const override;
};

// Balance in dB: "0.0" near the centre, else the magnitude with "R" or "L".
class KVNBalanceLevelConvertor : public KVNTextConvertor {
 public:
  ValueText Convert(float value) const override;
};

// Side-to-mid ratio in dB, one decimal; "-inf" at -150 and below.
class KVNSideMidRatioDbConvertor : public KVNTextConvertor {
 public:
  ValueText Convert(float value) const override;
};

// One of each for the whole library; displays hold them by pointer and never free them.
extern const KVNPercentageConvertor kPercentageConvertor;
extern const KVNCorrConvertor kCorrConvertor;
extern const KVNBalanceLevelConvertor kBalanceLevelConvertor;
extern const KVNSideMidRatioDbConvertor kSideMidRatioDbConvertor;
