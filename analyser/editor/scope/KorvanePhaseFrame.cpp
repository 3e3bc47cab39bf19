#include "analyser/editor/scope/KorvanePhaseFrame.h"

#include "analyser/editor/scope/PhaseScopePainter.h"

#include <algorithm>
#include <cmath>

#include "analyser/engine/Korvane.h"
#include "analyser/engine/services/KorvaneServiceList.h"
#include "analyser/resources/BitmapInventory.h"
#include "toolkit/drawing/OGWorld.h"
#include "toolkit/frames/Redraw.h"

using namespace phasescope;

namespace {
constexpr std::uint32_t kScopeFlags = Frame::kBuffered | 0x200;  // 0x200 is kept and means nothing
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
      mPainter(width, height),
      mSilence(kFrames, 0.0f),
      mEnableController(plugin, false, 0) {
  AttachToService(plugin->GetServiceList());
  SetPixMap(mBackground.Get(), sourceX, sourceY, kNoRedraw);
  mConfig = GetService()->GetPhaseConfig();
  // The first paint may come before the first tick.
  mModel.UpdateDrawMode(ReadSettings());
  mReady.reserve(ScopeBufferPool::kSize);
  AddTimer(TimerManager::kPeriodic, kTimerTicks, &KorvanePhaseFrame::OnTimer, 0);
  Subscribe(mConfig->GetMessageClass(KVNPhaseConfig::kMessageClass), 0, &KorvanePhaseFrame::OnConfigMessage);
  FollowEnabledFlag();
  Subscribe(mEnableController.GetControlMsgClass(), 1, &KorvanePhaseFrame::OnToggleButton);
}

void KorvanePhaseFrame::FollowEnabledFlag() {
  const std::int32_t on = mConfig->IsPhaseScopeEnabled() ? 1 : 0;
  if (mEnableController.GetValue() != on) mEnableController.SetValueQuiet(on);
}

std::int32_t KorvanePhaseFrame::OnToggleButton(std::int32_t code) {
  if (code != GenericControl::kValueChanged) return 0;
  // Nothing when the flag matches already, so the configuration's echo ends here.
  if (mEnableController.IsOn() != mConfig->IsPhaseScopeEnabled())
    mConfig->SetPhaseScopeEnabled(mEnableController.IsOn(), KVNPhaseConfig::kNotify);
  return 0;
}

KorvanePhaseFrame::~KorvanePhaseFrame() { StopSubscriptions(); }

ScopeSettings KorvanePhaseFrame::ReadSettings() const {
  ScopeSettings s;
  s.plotType = mConfig->GetPlotType();
  s.xyStyle = mConfig->GetXYPlotStyle();
  s.polarStyle = mConfig->GetPolarPlotStyle();
  s.autoGain = mConfig->GetAutoGain();
  s.gainDb = mConfig->GetGainDb();
  s.lowLevelGate = mConfig->GetLowLevelGate();
  s.density = mConfig->GetEffectivePlotDensity();
  s.decay = mConfig->GetEffectivePlotDecay();
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
  if (mPicture.Take(mModel, ReadLook())) Redraw(nullptr, true);
}

std::int32_t KorvanePhaseFrame::OnConfigMessage(std::int32_t code) {
  if (code == KVNPhaseConfig::kDensityChanged || code == KVNPhaseConfig::kDecayChanged) mModel.Clear();
  // Whatever paints before the next tick paints the configured mode.
  if (code == KVNPhaseConfig::kGainMayHaveChanged || code == KVNPhaseConfig::kXYStyleChanged ||
      code == KVNPhaseConfig::kPolarStyleChanged)
    mModel.UpdateDrawMode(ReadSettings());
  // A settings load sends 'gain' but no 'psEn'.
  if (code == KVNPhaseConfig::kScopeEnabledChanged || code == KVNPhaseConfig::kGainMayHaveChanged)
    FollowEnabledFlag();
  if (code == KVNPhaseConfig::kGainMayHaveChanged) Redraw(nullptr, true);
  return 0;
}

void KorvanePhaseFrame::Mouse(std::int32_t kind, std::int32_t, std::int32_t) {
  if (kind != kMouseDown) return;
  mConfig->SetPlotType((mConfig->GetPlotType() + 1) % 3, KVNPhaseConfig::kNotify);
}

ScopeLook KorvanePhaseFrame::ReadLook() const {
  const auto& c = mConfig->GetPhaseColor();
  return ScopeLook{Color{c.mRed, c.mGreen, c.mBlue}, mConfig->GetEffectivePlotDensity(),
                   mConfig->GetEffectivePlotDecay()};
}

void KorvanePhaseFrame::Draw(DrawContext& context, const Rect& area) {
  if (mModel.IsPolar()) PixMapDrawFrame::Draw(context, area);
  mPainter.Paint(context, area, mModel, ReadLook());
}
