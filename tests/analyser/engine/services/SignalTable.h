#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

// Stereo test signals and an independent reference for what the analysis should measure.
namespace signals {

enum class Kind {
  Identical,
  Inverted,
  LeftOnly,
  RightOnly,
  Silence,
  Quadrature,
  RightPlus6Db,
  DcOffset,
  DcOffsetInverted,
  PureDc
};

struct Stereo {
  std::vector<float> first;
  std::vector<float> second;
};

inline const char* Name(Kind kind) {
  switch (kind) {
    case Kind::Identical:
      return "identical";
    case Kind::Inverted:
      return "inverted";
    case Kind::LeftOnly:
      return "left-only";
    case Kind::RightOnly:
      return "right-only";
    case Kind::Silence:
      return "silence";
    case Kind::Quadrature:
      return "90-degrees";
    case Kind::RightPlus6Db:
      return "right+6dB";
    case Kind::DcOffset:
      return "dc-offset";
    case Kind::DcOffsetInverted:
      return "dc-offset-inverted";
    case Kind::PureDc:
      return "pure-dc";
  }
  return "?";
}

inline Stereo Make(Kind kind, double rate, std::int64_t frames) {
  Stereo s;
  s.first.resize(static_cast<std::size_t>(frames));
  s.second.resize(static_cast<std::size_t>(frames));
  const double w = 2.0 * M_PI * 997.0 / rate;
  const double gain6 = std::pow(10.0, 6.0 / 20.0);
  for (std::int64_t n = 0; n < frames; ++n) {
    const double x = 0.5 * std::sin(w * static_cast<double>(n));
    const double y = 0.5 * std::cos(w * static_cast<double>(n));
    const double d = 0.4 * std::sin(w * static_cast<double>(n));
    double a = 0.0, b = 0.0;
    switch (kind) {
      case Kind::Identical:
        a = x;
        b = x;
        break;
      case Kind::Inverted:
        a = x;
        b = -x;
        break;
      case Kind::LeftOnly:
        a = x;
        break;
      case Kind::RightOnly:
        b = x;
        break;
      case Kind::Silence:
        break;
      case Kind::Quadrature:
        a = x;
        b = y;
        break;
      case Kind::RightPlus6Db:
        a = 0.25 * x;
        b = 0.25 * x * gain6;
        break;
      case Kind::DcOffset:
        a = 0.5 + d;
        b = 0.5 + d;
        break;
      case Kind::DcOffsetInverted:
        a = 0.5 + d;
        b = 0.5 - d;
        break;
      case Kind::PureDc:
        a = 0.5;
        b = 0.25;
        break;
    }
    s.first[static_cast<std::size_t>(n)] = static_cast<float>(a);
    s.second[static_cast<std::size_t>(n)] = static_cast<float>(b);
  }
  return s;
}

// Two-pass correlation of one window in long double; a zero variance follows the rule of a
// zero denominator: 1 when the covariance is 0 as well, else 0.
inline double WindowCorrelation(const float* a, const float* b, std::int64_t n) {
  long double ma = 0, mb = 0;
  for (std::int64_t i = 0; i < n; ++i) {
    ma += a[i];
    mb += b[i];
  }
  ma /= n;
  mb /= n;
  long double cov = 0, va = 0, vb = 0;
  for (std::int64_t i = 0; i < n; ++i) {
    cov += (a[i] - ma) * (b[i] - mb);
    va += (a[i] - ma) * (a[i] - ma);
    vb += (b[i] - mb) * (b[i] - mb);
  }
  const long double den = std::sqrt(va) * std::sqrt(vb);
  if (!(den > 0)) return cov == 0 ? 1.0 : 0.0;
  const double r = static_cast<double>(cov / den);
  return r > 1.0 ? 1.0 : (r < -1.0 ? -1.0 : r);
}

inline double WindowRms(const float* x, std::int64_t n) {
  long double sum = 0;
  for (std::int64_t i = 0; i < n; ++i) sum += static_cast<long double>(x[i]) * x[i];
  return std::sqrt(static_cast<double>(sum / n));
}

inline double MeanSquare(const float* x, std::int64_t n) {
  long double sum = 0;
  for (std::int64_t i = 0; i < n; ++i) sum += static_cast<long double>(x[i]) * x[i];
  return static_cast<double>(sum / n);
}

}  // namespace signals
