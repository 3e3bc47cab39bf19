#pragma once

#include "toolkit/controls/GenericControl.h"

// A control without a picture that keeps the controls attached to it in step: a change of any of
// them reaches the others, each mapped between its own range and the controller's. Editor thread
// only.
class CentralController : public GenericControl {
 public:
  // Range 0..1, default 0, control id 0.
  explicit CentralController(PluginServices* services);
  CentralController(PluginServices* services, std::int32_t min, std::int32_t max, std::int32_t defaultValue,
                    std::int32_t controlId);

  void SetValue(std::int32_t value) override;
  // Takes the value and tells every attached control but the sender.
  virtual void ApplyValue(std::int32_t value, GenericControl* from);
  // A control attached elsewhere leaves that controller first; it takes this one's value at once.
  virtual void Attach(GenericControl* control);
  virtual void Detach(GenericControl* control);
  // Hook, after every applied value.
  virtual void ValueApplied();

 private:
  static std::int32_t OnControllerMessage(MessageSubscription* subscription, void* userData,
                                          std::int32_t subscriptionValue, MessageClass* messageClass,
                                          std::int32_t code, std::int32_t value, void* payload);
  // Runs when the controller's class goes, muted or not: the control forgets it.
  static void OnControllerGone(MessageSubscription* subscription, void* userData,
                               std::int32_t subscriptionValue);

  bool mBusy{false};
};

// A controller of 0..1 for an on/off setting.
class BooleanController : public CentralController {
 public:
  BooleanController(PluginServices* services, bool defaultValue, std::int32_t controlId)
      : CentralController(services, 0, 1, defaultValue ? 1 : 0, controlId) {}

  bool IsOn() const { return GetValue() != 0; }
};
