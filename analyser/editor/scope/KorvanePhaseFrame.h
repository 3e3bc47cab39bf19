#pragma once

#include <cstdint>
#include <vector>

#include "analyser/editor/scope/PhaseScopeModel.h"
#include "analyser/editor/scope/PhaseScopePainter.h"
#include "analyser/editor/scope/PhaseScopePicture.h"
#include "analyser/engine/services/KorvanePhaseService.h"
#include "framework/services/MessageSubscriber.h"
#include "framework/services/TimerClient.h"
#include "toolkit/controls/CentralController.h"
#include "toolkit/editor/PixMapRef.h"
#include "toolkit/frames/PixMapDrawFrame.h"

class Korvane;
class KVNPhaseConfig;
struct ScopeBuffer;

// The stereo phase scope: XY, centred XY ("Vector") or polar. Each timer tick takes the oldest
// ready scope buffer of the phase service (or silence), advances the picture's state from it and
// hands it back, asking for a redraw when the picture changed; Draw only paints that state, so an
// expose changes nothing. A click steps the plot type. Lives on the editor thread; its timer and
// subscription end with it.
class KorvanePhaseFrame : public PixMapDrawFrame,
                          public TimerClient<KorvanePhaseFrame>,
                          public KorvaneServiceClient<KorvanePhaseService>,
                          public MessageSubscriber<KorvanePhaseFrame> {
 public:
  static constexpr std::int32_t kTimerTicks = 4;

  KorvanePhaseFrame(Korvane* plugin, Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width,
                    std::int32_t height, std::int32_t backgroundId, std::int32_t sourceX,
                    std::int32_t sourceY);
  ~KorvanePhaseFrame() override;

  void Draw(DrawContext& context, const Rect& area) override;
  void Mouse(std::int32_t kind, std::int32_t x, std::int32_t y) override;

  // One tick: advance the picture by one buffer; a redraw when that changed it.
  void OnTimer();

  const PhaseScopeModel& GetModel() const { return mModel; }
  // The scope's on/off switch for the panel's button: 1 is on. It follows the configuration.
  BooleanController& GetEnableController() { return mEnableController; }

 private:
  std::int32_t OnConfigMessage(std::int32_t code);
  std::int32_t OnToggleButton(std::int32_t code);
  // The switch takes the configuration's flag without telling anyone.
  void FollowEnabledFlag();
  ScopeSettings ReadSettings() const;
  ScopeLook ReadLook() const;
  // The buffer this tick shows, or null for silence; releases what the gate throws away.
  ScopeBuffer* ChooseBuffer(bool gate);

  PixMapRef mMeterPicture;  // held for the frame's lifetime
  PixMapRef mBackground;
  KVNPhaseConfig* mConfig{nullptr};
  PhaseScopeModel mModel;
  PhaseScopePainter mPainter;
  PhaseScopePicture mPicture{};
  std::vector<float> mSilence;
  std::vector<ScopeBuffer*> mReady;  // reserved for the whole pool: a tick allocates nothing
  BooleanController mEnableController;
};
