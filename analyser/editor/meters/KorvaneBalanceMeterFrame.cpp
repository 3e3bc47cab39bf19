#include "analyser/editor/meters/KorvaneBalanceMeterFrame.h"

#include <algorithm>
#include <cmath>

#include "analyser/engine/Korvane.h"
#include "analyser/engine/services/KorvaneServiceList.h"
#include "analyser/resources/BitmapInventory.h"
#include "toolkit/drawing/OGWorld.h"
#include "toolkit/frames/Redraw.h"

namespace {
constexpr std::uint32_t kMeterFlags = Frame::kBuffered | 0x200;  // 0x200 is kept and means nothing
constexpr Point kTrack{3, 86};
constexpr std::int32_t kLeftRow = 5, kCentreRow = 12, kRightRow = 19, kColourStep = 4;

std::int32_t Or(std::int32_t value, std::int32_t fallback) { return value > 0 ? value : fallback; }
}  // namespace

KorvaneBalanceMeterFrame::KorvaneBalanceMeterFrame(Korvane* plugin, Frame* parent, std::int32_t x,
                                                   std::int32_t y, std::int32_t width, std::int32_t height)
    : PixMapDrawFrame(parent, x, y, Or(width, kDefaultWidth), width > 0 ? height : kDefaultHeight, 0, 0,
                      nullptr, kMeterFlags, 0),
      TimerClient<KorvaneBalanceMeterFrame>(plugin, this),
      mHistory(BalanceAnalysis::kHistoryLength, 0.0f),
      mPicture(GetRoot(), bitmaps::kMeterScales),
      mScale(GetWidth()) {
  AttachToService(plugin->GetServiceList());
  SetPixMap(mPicture.Get(), kTrack.x, kTrack.y, kNoRedraw);
  ReadHistory();
  for (std::vector<float>& trail : mTrails) trail = mHistory;
  // Read from the image in memory, never from the window.
  OGWorld& picture = *mPicture.Get();
  for (std::int32_t i = 0; i <= kTrails; ++i) {
    mLeftColours[i] = picture.GetPixelColor(Point{kColourStep * i, kLeftRow});
    mRightColours[i] = picture.GetPixelColor(Point{kColourStep * i, kRightRow});
    mCentreColours[i] = picture.GetPixelColor(Point{kColourStep * i, kCentreRow});
  }
  AddTimer(TimerManager::kPeriodic, kTimerTicks, &KorvaneBalanceMeterFrame::OnTimer, 0);
}

void KorvaneBalanceMeterFrame::ReadHistory() {
  const KorvaneBalanceService* service = GetService();
  if (!service) return;
  mMean = service->ReadBalanceHistory(&mHistory);
  if (std::isnan(mMean)) mMean = 0.0f;
  for (float& value : mHistory)
    if (std::isnan(value)) value = 0.0f;
}

void KorvaneBalanceMeterFrame::OnTimer() {
  // The trails keep their storage: each takes the next one's values by swapping.
  for (std::int32_t t = kTrails - 1; t > 0; --t) std::swap(mTrails[t], mTrails[t - 1]);
  std::swap(mTrails[0], mHistory);
  ReadHistory();
  Redraw(nullptr, true);
}

void KorvaneBalanceMeterFrame::PaintMarks(DrawContext& context, const std::vector<float>& values,
                                          std::int32_t age) const {
  const std::int32_t h = GetHeight();
  const float centre = mScale.GetCentre();
  for (auto value = values.rbegin(); value != values.rend(); ++value) {
    const std::int32_t x = mScale.Position(std::clamp(*value, -kReach, kReach));
    const float fx = float(x);
    context.SetForeColor(fx < centre   ? mLeftColours[age]
                         : fx > centre ? mRightColours[age]
                                       : mCentreColours[age]);
    context.MoveTo(Point{x, 0});
    context.LineTo(Point{x, h});
  }
}

void KorvaneBalanceMeterFrame::Draw(DrawContext& context, const Rect& area) {
  PixMapDrawFrame::Draw(context, area);
  for (std::int32_t t = 0; t < kTrails; ++t) PaintMarks(context, mTrails[t], t + 1);
  PaintMarks(context, mHistory, 0);
  const std::int32_t x = mScale.Position(mMean);
  context.SetForeColor(kWhite);
  context.FillRect(Rect{x - 1, 0, x + 2, GetHeight()});
}
