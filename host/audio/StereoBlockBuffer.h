// One block of captured stereo sound: left and right 32-bit float samples and a gain.
#pragma once

#include <memory>

namespace tolvaran {

class StereoBlockBuffer {
 public:
  explicit StereoBlockBuffer(int frames);
  StereoBlockBuffer(const StereoBlockBuffer& other);
  StereoBlockBuffer& operator=(const StereoBlockBuffer& other);
  ~StereoBlockBuffer() = default;

  // New zeroed arrays of frames samples each (a negative count makes empty ones).
  void allocate(int frames);
  // Reallocates only for a different count, so the same count keeps the samples.
  void resize(int frames);
  void clear();

  int frames() const { return frames_; }
  float* left() { return left_.get(); }
  float* right() { return right_.get(); }
  const float* left() const { return left_.get(); }
  const float* right() const { return right_.get(); }

  // Each setter copies frames() values; a null source changes nothing.
  void set_left(const float* values);
  void set_right(const float* values);
  void set_left_scaled(const float* values, float factor);
  void set_right_scaled(const float* values, float factor);
  void set_left_clipped(const float* values);
  void set_right_clipped(const float* values);

  void apply_gain();
  void set_gain(float gain) { gain_ = gain; }
  float gain() const { return gain_; }

 private:
  int frames_ = 0;
  std::unique_ptr<float[]> left_{};
  std::unique_ptr<float[]> right_{};
  float gain_ = 1.0f;
};

}  // namespace tolvaran
