#include "toolkit/controls/GenericControl.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "framework/services/MessagingServer.h"
#include "toolkit/controls/CentralController.h"

GenericControl::GenericControl(PluginServices* services, std::int32_t min, std::int32_t max,
                               std::int32_t defaultValue, std::int32_t controlId,
                               CentralController* controller)
    : PluginServicesClient(services),
      mValue(defaultValue),
      mPreviousValue(defaultValue),
      mMax(max),
      mMin(min),
      mDefault(defaultValue),
      mControlId(controlId) {
  mMsgClass = GetMessagingServer().CreateMessageClass(controlId);
  if (!mMsgClass) throw std::bad_alloc();
  if (!controller) return;
  try {
    controller->Attach(this);
  } catch (...) {
    GetMessagingServer().RemoveMessageClass(mMsgClass);
    throw;
  }
}

GenericControl::~GenericControl() {
  if (mController) mController->Detach(this);
  try {
    GetMessagingServer().RemoveMessageClass(mMsgClass);
  } catch (...) {
    // A destructor must not throw: a class that cannot be removed is only forgotten.
  }
}

std::int32_t GenericControl::GetValue() const { return mValue; }

void GenericControl::SetValue(std::int32_t value) {
  // Clamped before the comparison: a request beyond the bound the value sits at changes nothing.
  value = ClampToRange(value, mMin, mMax);
  if (value == mValue && !mForce) return;
  mPreviousValue = mValue;
  mValue = value;
  mForce = false;
  if (mController)
    mController->ApplyValue(
        ControlToControllerValue(mValue, mMin, mMax, mController->GetMin(), mController->GetMax()), this);
  if (!mPublishGuard) Publish(kValueChanged, mValue);
}

void GenericControl::SetValueForced(std::int32_t value) {
  mForce = true;
  SetValue(value);
}

void GenericControl::SetValueQuiet(std::int32_t value) {
  const bool guard = mPublishGuard;
  mPublishGuard = true;
  try {
    SetValue(value);
  } catch (...) {
    mPublishGuard = guard;
    throw;
  }
  mPublishGuard = guard;
}

void GenericControl::ResetToDefault() { SetValueForced(mDefault); }

void GenericControl::SetRange(std::int32_t min, std::int32_t max) {
  mMin = min;
  mMax = max;
  if (mValue > max)
    SetValue(max);
  else if (mValue < min)
    SetValue(min);
}

void GenericControl::Publish(std::int32_t code, std::int32_t value) {
  GetMessagingServer().Send(mMsgClass, code, value, this);
}

std::int32_t ClampToRange(std::int32_t value, std::int32_t min, std::int32_t max) {
  if (value > max) return max;
  if (value < min) return min;
  return value;
}

namespace {

// Truncated toward zero, within the target range whatever the source range held.
std::int32_t TruncateInto(double mapped, std::int32_t toMin, std::int32_t toMax) {
  const double low = std::min(toMin, toMax), high = std::max(toMin, toMax);
  return std::int32_t(std::trunc(std::clamp(mapped, low, high)));
}

}  // namespace

std::int32_t ControlToControllerValue(std::int32_t value, std::int32_t min, std::int32_t max,
                                      std::int32_t toMin, std::int32_t toMax) {
  if (min == toMin && max == toMax) return value;
  if (value == max) return toMax;
  if (value == min) return toMin;
  // The small bias keeps 3 of 0..10 at 30 of 0..100 instead of 29.999...
  return TruncateInto(toMin + (double(value) - min) / (double(max) - min) * (double(toMax) - toMin) + 0.00001,
                      toMin, toMax);
}

std::int32_t ControllerToControlValue(std::int32_t value, std::int32_t min, std::int32_t max,
                                      std::int32_t toMin, std::int32_t toMax) {
  if (min == toMin && max == toMax) return value;
  if (value == max) return toMax;
  if (value == min) return toMin;
  return TruncateInto(
      toMin + (double(value) - min) / (double(max) - min) * (double(toMax) - toMin) + 0.0000000005, toMin,
      toMax);
}
