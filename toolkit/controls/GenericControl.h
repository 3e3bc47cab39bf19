#pragma once

#include <cstdint>

#include "framework/services/PluginServicesClient.h"

class CentralController;
struct MessageClass;
struct MessageSubscription;

// An integer value in a range, with a default, under a control id. Every change and every mouse
// gesture goes out on the control's own message class (value as message value, the control as
// payload), so frames, containers and controllers follow it without knowing its type. Editor
// thread only.
class GenericControl : public PluginServicesClient {
 public:
  // Codes on the control's message class.
  enum Message : std::int32_t {
    kValueChanged = 0x20000,
    kPressed = 0x20001,
    kReleased = 0x20002,
    kDragged = 0x20003,
  };

  // With a controller the control takes the controller's value at once, else the default.
  GenericControl(PluginServices* services, std::int32_t min, std::int32_t max, std::int32_t defaultValue,
                 std::int32_t controlId, CentralController* controller = nullptr);
  // Leaves the controller, then removes the message class (subscribers hear kMessageClassRemoved).
  virtual ~GenericControl();
  GenericControl(const GenericControl&) = delete;
  GenericControl& operator=(const GenericControl&) = delete;

  virtual std::int32_t GetValue() const;
  // Clamped to the range first; a value equal to the current one does nothing unless forced.
  virtual void SetValue(std::int32_t value);
  virtual void SetValueForced(std::int32_t value);
  // Changes the value without kValueChanged.
  virtual void SetValueQuiet(std::int32_t value);
  virtual void ResetToDefault();
  virtual void SetRange(std::int32_t min, std::int32_t max);

  std::int32_t GetMin() const { return mMin; }
  std::int32_t GetMax() const { return mMax; }
  std::int32_t GetDefault() const { return mDefault; }
  std::int32_t GetPreviousValue() const { return mPreviousValue; }
  std::int32_t GetControlId() const { return mControlId; }
  CentralController* GetController() const { return mController; }
  MessageClass* GetControlMsgClass() const { return mMsgClass; }

 protected:
  // Sends on the control's class.
  void Publish(std::int32_t code, std::int32_t value);
  void SetForce() { mForce = true; }

 private:
  friend class CentralController;

  std::int32_t mValue{0};
  std::int32_t mPreviousValue{0};
  std::int32_t mMax{0};
  std::int32_t mMin{0};
  std::int32_t mDefault{0};
  std::int32_t mControlId{0};
  CentralController* mController{nullptr};
  MessageClass* mMsgClass{nullptr};
  MessageSubscription* mControllerSubscription{nullptr};
  bool mPublishGuard{false};
  bool mForce{false};
};

// A value within [min, max]: above max gives max, else below min gives min.
std::int32_t ClampToRange(std::int32_t value, std::int32_t min, std::int32_t max);
// A value of the range (min, max) in the range (toMin, toMax); both ends map onto each other.
std::int32_t ControlToControllerValue(std::int32_t value, std::int32_t min, std::int32_t max,
                                      std::int32_t toMin, std::int32_t toMax);
std::int32_t ControllerToControlValue(std::int32_t value, std::int32_t min, std::int32_t max,
                                      std::int32_t toMin, std::int32_t toMax);
