#include "host/audio/StereoBlockBuffer.h"

#include "host/audio/SampleMath.h"

#include <algorithm>

namespace tolvaran {

namespace {

void copy_scaled(float* out, const float* values, int frames, float factor) {
  if (!values) return;
  for (int i = 0; i < frames; ++i) out[i] = values[i] * factor;
}

}  // namespace

StereoBlockBuffer::StereoBlockBuffer(int frames) { allocate(frames); }

StereoBlockBuffer::StereoBlockBuffer(const StereoBlockBuffer& other) : gain_(other.gain_) {
  allocate(other.frames_);
  std::copy_n(other.left_.get(), frames_, left_.get());
  std::copy_n(other.right_.get(), frames_, right_.get());
}

StereoBlockBuffer& StereoBlockBuffer::operator=(const StereoBlockBuffer& other) {
  if (this == &other) return *this;
  resize(other.frames_);
  std::copy_n(other.left_.get(), frames_, left_.get());
  std::copy_n(other.right_.get(), frames_, right_.get());
  return *this;
}

void StereoBlockBuffer::allocate(int frames) {
  frames_ = std::max(frames, 0);
  left_.reset(new float[static_cast<size_t>(frames_)]());
  right_.reset(new float[static_cast<size_t>(frames_)]());
}

void StereoBlockBuffer::resize(int frames) {
  if (std::max(frames, 0) != frames_) allocate(frames);
}

void StereoBlockBuffer::clear() {
  std::fill_n(left_.get(), frames_, 0.0f);
  std::fill_n(right_.get(), frames_, 0.0f);
}

void StereoBlockBuffer::set_left(const float* values) { copy_scaled(left_.get(), values, frames_, 1.0f); }
void StereoBlockBuffer::set_right(const float* values) { copy_scaled(right_.get(), values, frames_, 1.0f); }

void StereoBlockBuffer::set_left_scaled(const float* values, float factor) {
  copy_scaled(left_.get(), values, frames_, factor);
}

void StereoBlockBuffer::set_right_scaled(const float* values, float factor) {
  copy_scaled(right_.get(), values, frames_, factor);
}

void StereoBlockBuffer::set_left_clipped(const float* values) { copy_clipped(values, frames_, left_.get()); }
void StereoBlockBuffer::set_right_clipped(const float* values) {
  copy_clipped(values, frames_, right_.get());
}

void StereoBlockBuffer::apply_gain() {
  for (int i = 0; i < frames_; ++i) {
    left_[i] *= gain_;
    right_[i] *= gain_;
  }
}

}  // namespace tolvaran
