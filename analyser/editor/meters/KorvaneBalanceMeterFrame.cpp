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
  mTrails.fill(mMarks);
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
  float mean = 0.0f;
  if (const KorvaneBalanceService* service = GetService()) mean = service->ReadBalanceHistory(&mHistory);
  if (std::isnan(mean)) mean = 0.0f;
  mMeanColumn = mScale.Position(mean);
  for (std::size_t i = 0; i < mMarks.size(); ++i) {
    const float value = std::isnan(mHistory[i]) ? 0.0f : mHistory[i];
    mMarks[i] = mScale.Position(std::clamp(value, -kReach, kReach));
  }
}

void KorvaneBalanceMeterFrame::OnTimer() {
  const std::int32_t meanColumn = mMeanColumn;
  // All six histories alike, and the new one as well: the shifted picture is the same one.
  bool still = true;
  for (const Marks& trail : mTrails) still = still && trail == mMarks;
  for (std::int32_t t = kTrails - 1; t > 0; --t) mTrails[t] = mTrails[t - 1];
  mTrails[0] = mMarks;
  ReadHistory();
  if (!still || mMarks != mTrails[0] || mMeanColumn != meanColumn) Redraw(nullptr, true);
}

void KorvaneBalanceMeterFrame::PaintMarks(DrawContext& context, const Marks& marks, std::int32_t age) const {
  const std::int32_t h = GetHeight();
  const float centre = mScale.GetCentre();
  for (auto mark = marks.rbegin(); mark != marks.rend(); ++mark) {
    const std::int32_t x = *mark;
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
  PaintMarks(context, mMarks, 0);
  const std::int32_t x = mMeanColumn;
  context.SetForeColor(kWhite);
  context.FillRect(Rect{x - 1, 0, x + 2, GetHeight()});
}
