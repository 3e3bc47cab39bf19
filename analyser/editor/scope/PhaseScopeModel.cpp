#include "analyser/editor/scope/PhaseScopeModel.h"

#include <algorithm>
#include <cmath>

#include "framework/metering/Decibels.h"

using namespace phasescope;

PhaseScopeModel::PhaseScopeModel(std::int32_t width, std::int32_t height)
    : mWidth(width),
      mHeight(height),
      mLeft(kFrames, 0.0f),
      mRight(kFrames, 0.0f),
      mMagnitudes(kFrames, 0.0f),
      mRatios(kFrames, 0.0f) {
  for (std::int32_t slot = 0; slot < kMaxLayers; ++slot) {
    mXs[slot].assign(kFrames, 0);
    mYs[slot].assign(kFrames, 0);
  }
  Clear();
}

void PhaseScopeModel::Clear() {
  mFilled = 0;
  mBinHold.fill(-1.0f);
  mBinSum.fill(0.0f);
}

std::int32_t PhaseScopeModel::GetLayerCount(std::int32_t decay) const {
  return std::min(Effective(decay), mFilled);
}

void PhaseScopeModel::UpdateDrawMode(const ScopeSettings& settings) {
  switch (settings.plotType) {
    case 0:
    case 1:
      mDrawMode = settings.xyStyle == 0 ? kXYPoints : kXYLines;
      mCentred = settings.plotType == 1;
      break;
    case 2:
      if (settings.polarStyle == 0) mDrawMode = kPolarPoints;
      if (settings.polarStyle == 1) mDrawMode = kPolarRays;
      if (settings.polarStyle == 2) mDrawMode = kPolarLines;
      break;
    default:
      break;
  }
}

void PhaseScopeModel::Advance(const ScopeSettings& settings, const float* left, const float* right) {
  UpdateDrawMode(settings);
  mBinSum.fill(1.0e-6f);
  if (!settings.enabled) return;
  const std::int32_t count = PointsPerLayer(settings.density);
  TakeSamples(settings, left, right, count);
  NewLayer();
  if (mDrawMode == kXYLines || mDrawMode == kXYPoints) {
    MakeXYLayer(count);
    CountSameLayers(count);
    return;
  }
  MakePolarLayer(count);
  CountSameLayers(count);
  if (mDrawMode != kPolarPoints) AccumulateBins(settings, count);
}

void PhaseScopeModel::CountSameLayers(std::int32_t count) {
  const std::int32_t* xs = mXs[Slot(0)].data();
  const std::int32_t* ys = mYs[Slot(0)].data();
  const bool same = count == mNewestCount && std::equal(xs, xs + count, mXs[Slot(1)].data()) &&
                    std::equal(ys, ys + count, mYs[Slot(1)].data());
  mNewestCount = count;
  if (!same)
    mSameLayers = 1;
  else if (mSameLayers < UINT32_MAX)
    ++mSameLayers;
}

void PhaseScopeModel::TakeSamples(const ScopeSettings& settings, const float* left, const float* right,
                                  std::int32_t count) {
  float gain = 1.0f;
  if (settings.autoGain) {
    float peak = 0.0f;
    for (std::int32_t i = 0; i < count; ++i) {
      if (std::isfinite(left[i])) peak = std::max(peak, std::fabs(left[i]));
      if (std::isfinite(right[i])) peak = std::max(peak, std::fabs(right[i]));
    }
    // A subnormal peak would give an infinite gain.
    if (peak > 0.0f && std::isfinite(1.0f / peak)) gain = 1.0f / peak;
  } else {
    gain = static_cast<float>(DbToLinear(settings.gainDb));
    if (!std::isfinite(gain)) gain = 1.0f;
  }
  mLastGain = gain;
  auto take = [gain](float x) {
    const float y = gain == 1.0f ? x : x * gain;
    return std::isfinite(y) ? y : 0.0f;
  };
  for (std::int32_t i = 0; i < count; ++i) {
    mLeft[i] = take(left[i]);
    mRight[i] = take(right[i]);
  }
}

void PhaseScopeModel::NewLayer() {
  ++mLayersMade;
  mHead = (mHead + kMaxLayers - 1) % kMaxLayers;
  mFilled = std::min(mFilled + 1, kMaxLayers);
}

void PhaseScopeModel::MakeXYLayer(std::int32_t count) {
  std::int32_t* xs = mXs[mHead].data();
  std::int32_t* ys = mYs[mHead].data();
  for (std::int32_t i = 0; i < count; ++i) {
    const Point p = MapPoint(mLeft[i], mRight[i], mCentred, mWidth, mHeight);
    xs[i] = p.x;
    ys[i] = p.y;
  }
}

void PhaseScopeModel::MakePolarLayer(std::int32_t count) {
  const float radius = float(Radius(mWidth, mHeight));
  const Point centre = PolarCentre(mWidth, mHeight);
  std::int32_t* xs = mXs[mHead].data();
  std::int32_t* ys = mYs[mHead].data();
  for (std::int32_t i = 0; i < count; ++i) {
    const float l = std::clamp(mLeft[i], -1.0f, 1.0f);
    const float r = std::clamp(mRight[i], -1.0f, 1.0f);
    mLeft[i] = l;
    mRight[i] = r;
    mMagnitudes[i] = std::max(std::fabs(l), std::fabs(r));
    mRatios[i] = Ratio(l, r);
    const float a = Fold(Angle(mRatios[i]));
    const float d = radius - radius * mMagnitudes[i] * kFullLength;
    xs[i] = std::int32_t(float(centre.x) + d * std::cos(a));
    ys[i] = std::int32_t(float(centre.y) - d * std::sin(a));
  }
}

void PhaseScopeModel::AccumulateBins(const ScopeSettings& settings, std::int32_t count) {
  const std::int32_t bins = BinCount(settings.density);
  const float release = static_cast<float>(SmoothingCoefficient(Effective(settings.decay) * 0.2, 15.0));
  float largest = 0.0f;
  for (std::int32_t i = 0; i < count; ++i) {
    const float unfolded = Angle(mRatios[i]);
    const float a = Fold(unfolded);
    const float weight = a != unfolded ? 0.5f : 1.0f;
    const std::int32_t b = std::clamp<std::int32_t>(std::int32_t(a * float(bins) / k2Pi) % bins, 0, bins - 1);
    const float m = mMagnitudes[i];
    if (m > 0.0f) {
      if (mBinSum[b] < 0.0f) mBinSum[b] = 0.0f;
      mBinSum[b] += weight * m;
      largest = std::max(largest, mBinSum[b]);
    }
  }
  const float scale = largest > 0.0f ? 1.0f / largest : 1.0f;
  for (std::int32_t b = 0; b < bins; ++b) {
    if (!(mBinSum[b] > 0.0f)) continue;
    const float sum = mBinSum[b] * scale;
    if (sum > mBinHold[b])
      mBinHold[b] = sum;
    else
      mBinHold[b] += (sum - mBinHold[b]) * release;
  }
}
