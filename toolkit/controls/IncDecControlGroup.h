#pragma once

#include "framework/services/MessageSubscriber.h"
#include "framework/services/TimerClient.h"
#include "toolkit/controls/ControlContainer.h"

class InstantActionButton;

// A pair of buttons that step a target control up and down: one step per press, and while a
// button is held, again after 20 ticks, then every 6 ticks, and after 120 ticks on every timer
// pass. The group lives as long as one of its buttons and deletes itself after the last. A target
// that goes away stops the repeat; the group then works as one without a target. Editor thread
// only.
class IncDecControlGroup : public ControlContainer,
                           public MessageSubscriber<IncDecControlGroup>,
                           public TimerClient<IncDecControlGroup> {
 public:
  static constexpr std::int32_t kIncrementKey = 1;
  static constexpr std::int32_t kDecrementKey = -1;

  // Null when memory runs out; a failure while building passes on.
  static IncDecControlGroup* Create(PluginServices* services, InstantActionButton* increment,
                                    InstantActionButton* decrement, GenericControl* target);
  ~IncDecControlGroup() override;

  void SetTarget(GenericControl* target);
  // Out-of-range steps wrap to the other end instead of stopping there.
  void SetWrap(bool on) { mWrap = on; }
  void SetStep(std::int32_t step) { mStep = step; }
  GenericControl* GetTarget() const { return mTarget; }

  void ControlRemoved(std::int32_t key) override;
  void ControlValueChanged(std::int32_t key, std::int32_t value, GenericControl* sender) override;

 private:
  IncDecControlGroup(PluginServices* services, InstantActionButton* increment, InstantActionButton* decrement,
                     GenericControl* target);

  void Step(std::int32_t direction);
  std::int32_t OnButtonMessage(std::int32_t code);
  void OnRepeat();
  static void OnTargetGone(MessageSubscription* subscription, void* userData, std::int32_t value);
  static std::int32_t IgnoreTargetMessage(MessageSubscription*, void*, std::int32_t, MessageClass*,
                                          std::int32_t, std::int32_t, void*);

  MessagingServer& Server() const { return ControlContainer::GetMessagingServer(); }

  GenericControl* mTarget{nullptr};
  MessageSubscription* mTargetSubscription{nullptr};
  std::int32_t mStep{1};
  std::int64_t mPressTick{0};
  bool mWrap{false};
};
