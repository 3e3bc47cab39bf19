#include "analyser/editor/scope/KorvanePhaseFrame.h"

#include <algorithm>
#include <cmath>

#include "analyser/engine/Korvane.h"
#include "analyser/engine/services/KorvaneServiceList.h"
#include "analyser/resources/BitmapInventory.h"
#include "toolkit/drawing/OGWorld.h"

using namespace phasescope;

namespace {
constexpr std::uint32_t kScopeFlags = Frame::kBuffered | 0x200;  // 0x200 is kept and means nothing
constexpr Color kGrid{0x7FFF, 0x7FFF, 0x7FFF};
}  // namespace

KorvanePhaseFrame::KorvanePhaseFrame(Korvane* plugin, Frame* parent, std::int32_t x, std::int32_t y,
                                     std::int32_t width, std::int32_t height, std::int32_t backgroundId,
                                     std::int32_t sourceX, std::int32_t sourceY)
    : PixMapDrawFrame(parent, x, y, width, height, 0, 0, nullptr, kScopeFlags, 0),
      TimerClient<KorvanePhaseFrame>(plugin, this),
      MessageSubscriber<KorvanePhaseFrame>(plugin),
      mMeterPicture(GetRoot(), bitmaps::kMeterScales),
      mBackground(GetRoot(), backgroundId),
      mModel(width, height),
      mSilence(kFrames, 0.0f) {
  AttachToService(plugin->GetServiceList());
  SetPixMap(mBackground.Get(), sourceX, sourceY, false);
  mConfig = GetService()->GetPhaseConfig();
  mReady.reserve(ScopeBufferPool::kSize);
  AddTimer(TimerManager::kPeriodic, kTimerTicks, &KorvanePhaseFrame::OnTimer, 0);
  Subscribe(mConfig->GetMessageClass(KVNPhaseConfig::kMessageClass), 0, &KorvanePhaseFrame::OnConfigMessage);
}

KorvanePhaseFrame::~KorvanePhaseFrame() = default;

ScopeSettings KorvanePhaseFrame::ReadSettings() const {
  ScopeSettings s;
  s.plotType = mConfig->GetPlotType();
  s.xyStyle = mConfig->GetXYPlotStyle();
  s.polarStyle = mConfig->GetPolarPlotStyle();
  s.autoGain = mConfig->GetAutoGain();
  s.gainDb = mConfig->GetGainDb();
  s.lowLevelGate = mConfig->GetLowLevelGate();
  s.density = mConfig->GetPlotDensity();
  s.decay = mConfig->GetPlotDecay();
  s.enabled = mConfig->IsPhaseScopeEnabled();
  return s;
}

ScopeBuffer* KorvanePhaseFrame::ChooseBuffer(bool gate) {
  for (ScopeBuffer* buffer : mReady) {
    if (!gate || buffer->peak.load(std::memory_order_relaxed) >= kGateLevel) return buffer;
    buffer->Release();
  }
  return nullptr;
}

void KorvanePhaseFrame::OnTimer() {
  KorvanePhaseService* service = GetService();
  if (!service) return;
  const ScopeSettings settings = ReadSettings();
  service->CollectReadyScopeBuffers(mReady);
  if (!settings.enabled) {
    for (ScopeBuffer* buffer : mReady) buffer->Release();
    mModel.Advance(settings, mSilence.data(), mSilence.data());
  } else {
    ScopeBuffer* chosen = ChooseBuffer(settings.lowLevelGate);
    if (chosen) {
      mModel.Advance(settings, chosen->first, chosen->second);
      chosen->Release();
    } else {
      mModel.Advance(settings, mSilence.data(), mSilence.data());
    }
  }
  mReady.clear();
  Redraw(nullptr, true);
}

std::int32_t KorvanePhaseFrame::OnConfigMessage(std::int32_t code) {
  if (code == KVNPhaseConfig::kDensityChanged || code == KVNPhaseConfig::kDecayChanged) mModel.Clear();
  if (code == KVNPhaseConfig::kGainMayHaveChanged) Redraw(nullptr, true);
  return 0;
}

void KorvanePhaseFrame::Mouse(std::int32_t kind, std::int32_t, std::int32_t) {
  if (kind != kMouseDown) return;
  mConfig->SetPlotType((mConfig->GetPlotType() + 1) % 3, true);
}

void KorvanePhaseFrame::Draw(DrawContext& context, const Rect& area) {
  const PhaseScopeModel::DrawMode mode = mModel.GetDrawMode();
  if (mode == PhaseScopeModel::kXYLines || mode == PhaseScopeModel::kXYPoints)
    DrawXYGround(context, area, mModel.IsCentred());
  else
    PixMapDrawFrame::Draw(context, area);
  const auto& c = mConfig->GetPhaseColor();
  const Color colour{c.mRed, c.mGreen, c.mBlue};
  if (mode == PhaseScopeModel::kPolarRays || mode == PhaseScopeModel::kPolarLines)
    DrawBins(context, colour);
  else
    DrawLayers(context, colour);
}

void KorvanePhaseFrame::DrawXYGround(DrawContext& context, const Rect& area, bool centred) const {
  const std::int32_t w = GetWidth(), h = GetHeight();
  context.SetForeColor(kBlack);
  context.FillRect(area);
  context.SetFont(DrawContext::kSmallFont, kGrid);
  auto line = [&context](std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1) {
    context.MoveTo(Point{x0, y0});
    context.LineTo(Point{x1, y1});
  };
  auto text = [&context](std::int32_t x, std::int32_t y, const char* s) {
    context.MoveTo(Point{x, y});
    context.DrawString(s);
  };
  if (!centred) {
    line(w / 2, 16, w / 2, h);
    text(w / 2 - 2, 12, "L");
    line(0, h / 2, w - 16, h / 2);
    text(w - 10, h / 2 + 3, "R");
    line(0, 0, w, h);
    line(0, h, w, 0);
  } else {
    line(w / 2, 0, w / 2, h);
    line(0, h / 2, w, h / 2);
    line(16, 16, w, h);
    text(5, 10, "L");
    line(0, h, w - 16, 16);
    text(w - 10, 10, "R");
  }
}

void KorvanePhaseFrame::DrawLayers(DrawContext& context, Color colour) const {
  const std::int32_t decay = Effective(mConfig->GetPlotDecay());
  const std::int32_t points = PointsPerLayer(mConfig->GetPlotDensity());
  const bool lines = mModel.GetDrawMode() == PhaseScopeModel::kXYLines;
  for (std::int32_t layer = mModel.GetLayerCount(decay) - 1; layer >= 0; --layer) {
    context.SetForeColor(LayerColour(colour, decay - layer, decay));
    const std::vector<std::int32_t>& xs = mModel.LayerXs(layer);
    const std::vector<std::int32_t>& ys = mModel.LayerYs(layer);
    if (lines) {
      context.PolyLineTo(xs, ys, points);
      continue;
    }
    for (std::int32_t i = 0; i < points; ++i) {
      context.MoveTo(Point{xs[i], ys[i]});
      context.LineTo(Point{xs[i], ys[i]});
    }
  }
}

void KorvanePhaseFrame::DrawBins(DrawContext& context, Color colour) const {
  const bool rays = mModel.GetDrawMode() == PhaseScopeModel::kPolarRays;
  const std::int32_t bins = BinCount(mConfig->GetPlotDensity());
  const std::int32_t radius = Radius(GetWidth(), GetHeight());
  const float r = float(radius);
  const Point centre = PolarCentre(GetWidth(), GetHeight());
  const float step = k2Pi / float(bins);
  const float full = r * kFullLength;
  const auto& hold = mModel.GetBinHold();
  auto rim = [&](float a) {
    return Point{centre.x + std::int32_t(r * std::cos(a)), centre.y - std::int32_t(r * std::sin(a))};
  };
  auto inward = [&](float a, float length) {
    return Point{std::int32_t(float(centre.x) + (r - length) * std::cos(a)),
                 std::int32_t(float(centre.y) - (r - length) * std::sin(a))};
  };
  context.SetForeColor(colour);
  float length = std::max(hold[0], 0.0f) * full;
  const Point first{std::int32_t(float(centre.x) + (r - length)), centre.y};
  context.MoveTo(first);
  const SectorJump jump = Jump(bins);
  bool jumped = false, reopened = false;
  for (std::int32_t b = 1; b < bins; ++b) {
    const float a = float(b) * step;
    if (hold[b] >= 0.0f) length = hold[b] * full;  // a bin never set keeps the previous length
    if (rays) {
      if (length > 0.001f) {
        context.MoveTo(rim(a));
        context.LineTo(inward(a, length));
      }
      if (!jumped && b >= jump.first) {
        jumped = true;
        b = jump.last - 1;
      }
      continue;
    }
    if (!jumped && b > jump.first) {
      context.LineTo(rim(k5PiBy4));
      jumped = true;
      b = jump.last - 1;
      continue;
    }
    if (jumped && !reopened && b >= jump.last) {
      context.MoveTo(rim(k7PiBy4));
      reopened = true;
    }
    context.LineTo(inward(a, length));
  }
  if (rays) context.MoveTo(Point{centre.x + radius, centre.y});
  context.LineTo(first);
}
