#include "toolkit/controls/IncDecControlGroup.h"

#include <algorithm>
#include <climits>
#include <new>

#include "platform/Clock.h"
#include "toolkit/controls/PixMapButton.h"

namespace {

constexpr std::int32_t kFirstRepeatTicks = 20;
constexpr std::int32_t kSlowRepeatTicks = 6;
constexpr std::int32_t kFastRepeatTicks = 1;
constexpr std::int64_t kSlowRepeatForTicks = 120;

}  // namespace

IncDecControlGroup* IncDecControlGroup::Create(PluginServices* services, InstantActionButton* increment,
                                               InstantActionButton* decrement, GenericControl* target) {
  return new (std::nothrow) IncDecControlGroup(services, increment, decrement, target);
}

IncDecControlGroup::IncDecControlGroup(PluginServices* services, InstantActionButton* increment,
                                       InstantActionButton* decrement, GenericControl* target)
    : ControlContainer(services, 0),
      MessageSubscriber<IncDecControlGroup>(services),
      TimerClient<IncDecControlGroup>(services, this) {
  AddControl(increment, kIncrementKey, kOwned);
  AddControl(decrement, kDecrementKey, kOwned);
  Subscribe(increment->GetControlMsgClass(), kIncrementKey, &IncDecControlGroup::OnButtonMessage);
  Subscribe(decrement->GetControlMsgClass(), kDecrementKey, &IncDecControlGroup::OnButtonMessage);
  SetTarget(target);
}

IncDecControlGroup::~IncDecControlGroup() {
  StopSubscriptions();
  try {
    SetTarget(nullptr);
  } catch (...) {
    // Without services there is no server, and so no subscription to the target left to stop.
  }
}

void IncDecControlGroup::SetTarget(GenericControl* target) {
  if (mTargetSubscription) Server().Unsubscribe(mTarget->GetControlMsgClass(), mTargetSubscription);
  mTargetSubscription = nullptr;
  mTarget = target;
  if (!target) return;
  // Only to hear that the target goes.
  mTargetSubscription =
      Server().Subscribe(target->GetControlMsgClass(), &IgnoreTargetMessage, this, 0, &OnTargetGone);
  if (!mTargetSubscription) {
    mTarget = nullptr;
    throw std::bad_alloc();
  }
}

void IncDecControlGroup::Step(std::int32_t direction) {
  if (!mTarget) return;
  std::int64_t value = std::int64_t(mTarget->GetValue()) + std::int64_t(direction) * mStep;
  if (mWrap) {
    if (value > mTarget->GetMax()) value = mTarget->GetMin();
    if (value < mTarget->GetMin()) value = mTarget->GetMax();
  }
  mTarget->SetValue(std::int32_t(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX)));
}

void IncDecControlGroup::ControlValueChanged(std::int32_t key, std::int32_t, GenericControl* sender) {
  // A button announces 1 on its press and falls back to 0 quietly: one step per press.
  if (sender && sender->GetValue() == 1) Step(key);
}

std::int32_t IncDecControlGroup::OnButtonMessage(std::int32_t code) {
  const std::int32_t direction = GetCurrentSubscriptionValue();
  if (code == GenericControl::kPressed) {
    // The press goes out before the button steps, so the timer exists before the first step. A
    // timer left by an earlier press gives way.
    mPressTick = Clock::GetTimerTick();
    RemoveTimer(direction);
    AddTimer(TimerManager::kPeriodic, kFirstRepeatTicks, &IncDecControlGroup::OnRepeat, direction);
  } else if (code == GenericControl::kReleased) {
    RemoveTimer(direction);
  }
  return 0;
}

void IncDecControlGroup::OnRepeat() {
  const std::int32_t direction = GetCurrentTimerUserId();
  GenericControl* button = FindControl(direction);
  if (!button) {
    RemoveTimer(direction);
    return;
  }
  const bool slow = Clock::GetTimerTick() - mPressTick < kSlowRepeatForTicks;
  RestartTimer(direction, slow ? kSlowRepeatTicks : kFastRepeatTicks);
  if (mTarget)
    Step(direction);
  else
    button->SetValueForced(button->GetValue());  // the container reports the key again
}

void IncDecControlGroup::ControlRemoved(std::int32_t key) {
  RemoveTimer(key);
  if (GetControlCount() == 0) delete this;
}

std::int32_t IncDecControlGroup::IgnoreTargetMessage(MessageSubscription*, void*, std::int32_t, MessageClass*,
                                                     std::int32_t, std::int32_t, void*) {
  return 0;
}

void IncDecControlGroup::OnTargetGone(MessageSubscription* subscription, void* userData, std::int32_t) {
  auto* self = static_cast<IncDecControlGroup*>(userData);
  if (self->mTargetSubscription != subscription) return;
  self->mTargetSubscription = nullptr;
  self->mTarget = nullptr;
  self->RemoveTimer(kIncrementKey);
  self->RemoveTimer(kDecrementKey);
}
