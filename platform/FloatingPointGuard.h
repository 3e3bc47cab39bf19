#pragma once

#include <cstdint>

// Sets the floating-point state the plug-in computes with (all exceptions masked, round to
// nearest; flush-to-zero and denormals-are-zero left as the host had them) and restores the
// host's state when it goes out of scope.
class FloatingPointGuard {
 public:
  FloatingPointGuard();
  ~FloatingPointGuard();
  FloatingPointGuard(const FloatingPointGuard&) = delete;
  FloatingPointGuard& operator=(const FloatingPointGuard&) = delete;

 private:
  std::uint32_t mSaved = 0;
};
