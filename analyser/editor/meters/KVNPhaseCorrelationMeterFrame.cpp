#include "analyser/editor/meters/KVNPhaseCorrelationMeterFrame.h"

#include "analyser/engine/Korvane.h"
#include "analyser/engine/services/KorvaneServiceList.h"
#include "analyser/resources/BitmapInventory.h"
#include "toolkit/drawing/OGWorld.h"
#include "toolkit/frames/Redraw.h"

namespace {
constexpr std::uint32_t kMeterFlags = Frame::kBuffered | 0x200;  // 0x200 is kept and means nothing
constexpr Point kTrack{233, 87};
constexpr Point kScale{0, 26};
}  // namespace

KVNPhaseCorrelationMeterFrame::KVNPhaseCorrelationMeterFrame(Korvane* plugin, Frame* parent, std::int32_t x,
                                                             std::int32_t y)
    : PixMapDrawFrame(parent, x, y, kWidth, kHeight, 0, 0, nullptr, kMeterFlags, 0),
      TimerClient<KVNPhaseCorrelationMeterFrame>(plugin, this),
      mPicture(GetRoot(), bitmaps::kMeterScales),
      mColours(static_cast<std::size_t>(kWidth * CorrelationGlow::kLevels)) {
  AttachToService(plugin->GetServiceList());
  SetPixMap(mPicture.Get(), kTrack.x, kTrack.y, kNoRedraw);
  // Read from the image in memory, never from the window.
  OGWorld& scale = *mPicture.Get();
  for (std::int32_t i = 0; i < kWidth; ++i)
    for (std::int32_t j = 0; j < CorrelationGlow::kLevels; ++j)
      mColours[static_cast<std::size_t>(i * CorrelationGlow::kLevels + j)] =
          scale.GetPixelColor(Point{kScale.x + i, kScale.y + j});
  AddTimer(TimerManager::kPeriodic, kTimerTicks, &KVNPhaseCorrelationMeterFrame::OnTimer, 0);
}

void KVNPhaseCorrelationMeterFrame::OnTimer() {
  const KorvanePhaseService* service = GetService();
  if (service && mGlow.Advance(service->GetCorrelation(), service->GetCorrelationAverage()))
    Redraw(nullptr, true);
}

void KVNPhaseCorrelationMeterFrame::Draw(DrawContext& context, const Rect& area) {
  PixMapDrawFrame::Draw(context, area);
  const std::int32_t h = GetHeight();
  for (std::int32_t k = 0; k < kWidth; ++k) {
    context.SetForeColor(ColourOf(k, CorrelationGlow::kLevels - 1 - mGlow.Level(k)));
    context.MoveTo(Point{k, 0});
    context.LineTo(Point{k, h});
  }
  context.SetForeColor(kWhite);
  const std::int32_t o = mGlow.GetAverageColumn();
  for (std::int32_t x = o - 1; x <= o + 1; ++x) {
    context.MoveTo(Point{x, 0});
    context.LineTo(Point{x, h});
  }
}
