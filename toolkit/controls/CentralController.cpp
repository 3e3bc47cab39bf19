#include "toolkit/controls/CentralController.h"

#include <new>

#include "framework/services/MessagingServer.h"
#include "toolkit/frames/ScopedValue.h"

CentralController::CentralController(PluginServices* services) : GenericControl(services, 0, 1, 0, 0) {}

CentralController::CentralController(PluginServices* services, std::int32_t min, std::int32_t max,
                                     std::int32_t defaultValue, std::int32_t controlId)
    : GenericControl(services, min, max, defaultValue, controlId) {}

void CentralController::SetValue(std::int32_t value) {
  value = ClampToRange(value, GetMin(), GetMax());
  if (value != GetValue() || mForce) ApplyValue(value, nullptr);
}

void CentralController::ApplyValue(std::int32_t value, GenericControl* from) {
  if (mBusy) return;
  mPreviousValue = mValue;
  mValue = ClampToRange(value, GetMin(), GetMax());
  mForce = false;
  ValueApplied();
  if (mPublishGuard) return;
  const ScopedValue<bool> busy(mBusy, true);
  GetMessagingServer().Send(GetControlMsgClass(), kValueChanged, mValue, this,
                            from ? from->mControllerSubscription : nullptr);
}

void CentralController::Attach(GenericControl* control) {
  if (control->mController) control->mController->Detach(control);
  MessagingServer& server = GetMessagingServer();
  MessageSubscription* subscription = server.Subscribe(GetControlMsgClass(), &OnControllerMessage, control,
                                                       control->GetControlId(), &OnControllerGone);
  if (!subscription) throw std::bad_alloc();
  control->mControllerSubscription = subscription;
  control->mController = this;
  const ScopedValue<bool> busy(mBusy, true);
  server.DeliverToSubscriber(GetControlMsgClass(), subscription, kValueChanged, mValue, this);
}

void CentralController::Detach(GenericControl* control) {
  if (control->mController != this) return;
  GetMessagingServer().Unsubscribe(GetControlMsgClass(), control->mControllerSubscription);
  control->mControllerSubscription = nullptr;
  control->mController = nullptr;
}

void CentralController::ValueApplied() {}

std::int32_t CentralController::OnControllerMessage(MessageSubscription*, void* userData, std::int32_t,
                                                    MessageClass*, std::int32_t code, std::int32_t value,
                                                    void*) {
  auto* control = static_cast<GenericControl*>(userData);
  const CentralController* controller = control->mController;
  if (code != kValueChanged || !controller) return 0;
  control->SetValue(ControllerToControlValue(value, controller->GetMin(), controller->GetMax(),
                                             control->GetMin(), control->GetMax()));
  return 0;
}

void CentralController::OnControllerGone(MessageSubscription*, void* userData, std::int32_t) {
  auto* control = static_cast<GenericControl*>(userData);
  control->mControllerSubscription = nullptr;
  control->mController = nullptr;
}
