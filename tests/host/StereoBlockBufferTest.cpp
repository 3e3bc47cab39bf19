// The stereo block and its sample helpers.
#include "host/audio/SampleMath.h"
#include "host/audio/StereoBlockBuffer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <vector>

using namespace tolvaran;

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
const float kNaN = std::numeric_limits<float>::quiet_NaN();

std::vector<float> left_of(const StereoBlockBuffer& b) { return {b.left(), b.left() + b.frames()}; }
std::vector<float> right_of(const StereoBlockBuffer& b) { return {b.right(), b.right() + b.frames()}; }

TEST(StereoBlockBuffer, SizeCopiesAndResize) {
  StereoBlockBuffer block(3);
  EXPECT_EQ(block.frames(), 3);
  EXPECT_EQ(block.gain(), 1.0f);
  EXPECT_EQ(left_of(block), std::vector<float>(3, 0.0f));
  const float values[] = {1, 2, 3, 4};
  block.set_left(values);
  block.set_right(values + 1);

  StereoBlockBuffer copy(block);
  block.left()[0] = 9;
  EXPECT_EQ(left_of(copy), (std::vector<float>{1, 2, 3})) << "a deep copy";
  EXPECT_EQ(right_of(copy), (std::vector<float>{2, 3, 4}));

  StereoBlockBuffer assigned(7);
  assigned = copy;
  EXPECT_EQ(assigned.frames(), 3);
  EXPECT_EQ(right_of(assigned), (std::vector<float>{2, 3, 4}));
  assigned = *&assigned;
  EXPECT_EQ(right_of(assigned), (std::vector<float>{2, 3, 4})) << "self-assignment";

  copy.resize(3);
  EXPECT_EQ(left_of(copy), (std::vector<float>{1, 2, 3})) << "same count keeps the samples";
  copy.resize(5);
  EXPECT_EQ(left_of(copy), std::vector<float>(5, 0.0f)) << "another count does not";

  copy.clear();
  EXPECT_EQ(right_of(copy), std::vector<float>(5, 0.0f));

  StereoBlockBuffer empty(-4);
  EXPECT_EQ(empty.frames(), 0);
  EXPECT_NE(empty.left(), nullptr);
  empty.set_left(values);
  empty.apply_gain();
}

TEST(StereoBlockBuffer, Setters) {
  const float in[] = {2.0f, 0.5f, -3.0f, 1e-10f, 3e7f, kInf, -kInf};
  struct Case {
    const char* name;
    std::function<void(StereoBlockBuffer&)> set;
    std::vector<float> left, right;
  };
  const std::vector<float> zeros(7, 0.0f);
  const std::vector<float> same(in, in + 7);
  const std::vector<float> clipped = {1.0f, 0.5f, -1.0f, 1e-10f, 1.0f, 1.0f, -1.0f};
  const std::vector<float> halved = {1.0f, 0.25f, -1.5f, 5e-11f, 1.5e7f, kInf, -kInf};
  const Case cases[] = {
      {"left", [&](StereoBlockBuffer& b) { b.set_left(in); }, same, zeros},
      {"right", [&](StereoBlockBuffer& b) { b.set_right(in); }, zeros, same},
      {"left scaled", [&](StereoBlockBuffer& b) { b.set_left_scaled(in, 0.5f); }, halved, zeros},
      {"right scaled", [&](StereoBlockBuffer& b) { b.set_right_scaled(in, 0.5f); }, zeros, halved},
      {"left clipped", [&](StereoBlockBuffer& b) { b.set_left_clipped(in); }, clipped, zeros},
      {"right clipped", [&](StereoBlockBuffer& b) { b.set_right_clipped(in); }, zeros, clipped},
      {"null sources",
       [](StereoBlockBuffer& b) {
         b.set_left(nullptr);
         b.set_right_scaled(nullptr, 2.0f);
         b.set_left_clipped(nullptr);
       },
       zeros, zeros},
      {"gain",
       [&](StereoBlockBuffer& b) {
         b.set_left(in);
         b.set_gain(0.5f);
         b.apply_gain();
       },
       halved, zeros},
  };
  for (const Case& c : cases) {
    StereoBlockBuffer block(7);
    c.set(block);
    EXPECT_EQ(left_of(block), c.left) << c.name;
    EXPECT_EQ(right_of(block), c.right) << c.name;
  }
}

TEST(SampleMath, LimitAndSign) {
  struct Limit {
    float a, b, expected;
  };
  for (const Limit& c :
       {Limit{2, 1, 1}, Limit{-2, 1, -1}, Limit{0.25f, 1, 0.25f}, Limit{1e-10f, 1, 1e-10f}, Limit{3e7f, 1, 1},
        Limit{-kInf, 0.5f, -0.5f}, Limit{0.25f, -1, -0.25f}, Limit{5, 0, 0}}) {
    EXPECT_EQ(limit(c.a, c.b), c.expected) << c.a << " limited to " << c.b;
  }
  EXPECT_TRUE(std::isnan(limit(kNaN, 1)));

  struct Sign {
    float x, expected;
  };
  for (const Sign& c : {Sign{2, 1}, Sign{-3, -1}, Sign{0, 0}, Sign{kInf, 1}})
    EXPECT_EQ(sign(c.x), c.expected) << c.x;
  EXPECT_TRUE(std::signbit(sign(-0.0f)));
  EXPECT_TRUE(std::isnan(sign(kNaN)));
}

TEST(SampleMath, SoftLimiterFollowsItsRunningAverage) {
  // The state lives for the whole process: this is its only test.
  float average = 0.0f;
  auto expected = [&average](float a, float b) {
    average = (average * 99 + std::fabs(a + b)) / 100;
    return (a + b) / ((average / 2) * (average / 2) + 1.1f);
  };
  const float pairs[][2] = {{0.5f, 0.5f}, {1, 1}, {-3, 0.5f}, {0, 0}};
  for (const auto& p : pairs) EXPECT_FLOAT_EQ(soft_limiter(p[0], p[1]), expected(p[0], p[1]));
  EXPECT_TRUE(std::isnan(soft_limiter(kNaN, 0)));
  EXPECT_FLOAT_EQ(soft_limiter(1, 0), expected(1, 0)) << "a NaN does not poison the average";
}

}  // namespace
