#pragma once

// Gives a value for the scope's lifetime and puts the old one back, also when an exception passes.
template <typename T>
class ScopedValue {
 public:
  ScopedValue(T& target, T value) : mTarget(target), mOld(target) { mTarget = value; }
  ~ScopedValue() { mTarget = mOld; }
  ScopedValue(const ScopedValue&) = delete;
  ScopedValue& operator=(const ScopedValue&) = delete;

 private:
  T& mTarget;
  T mOld;
};
