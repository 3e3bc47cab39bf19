#pragma once

#include <cstdint>
#include <map>

#include "framework/services/FourCC.h"
#include "framework/services/MessagePublisher.h"

class GenericControl;

// Gathers controls under keys of the owner's choosing and listens to all of them: a value change
// of any goes out on the container's 'ccac' class as code 0 with the key as value. An entry leaves
// when its control's message class goes. Editor thread only.
class ControlContainer : public MessagePublisher {
 public:
  static constexpr std::int32_t kMsgClassRef = FourCC('c', 'c', 'a', 'c');

  ControlContainer(PluginServices* services, std::int32_t ownerValue);
  // Leaves every control without deleting any, then removes the 'ccac' class.
  ~ControlContainer() override;

  // Throws AppFrame::DuplicateEntry for a key in use. DeleteOwnedControls deletes the owned
  // ones; a control that is a child frame is the frame tree's.
  static constexpr bool kOwned = true, kNotOwned = false;
  virtual void AddControl(GenericControl* control, std::int32_t key, bool owned);
  virtual GenericControl* FindControl(std::int32_t key) const;
  // Hooks: the control's class went away; 0x20000 came from it; any other code came from it.
  virtual void ControlRemoved(std::int32_t key);
  virtual void ControlValueChanged(std::int32_t key, std::int32_t value, GenericControl* sender);
  virtual void ControlMessage(std::int32_t key, std::int32_t code, std::int32_t value,
                              GenericControl* sender);

  // An unknown key does nothing.
  void RemoveControl(std::int32_t key);
  // Every entry leaves; owned controls are deleted once each, after they left.
  void DeleteOwnedControls();

  std::int32_t GetOwnerValue() const { return mOwnerValue; }
  std::size_t GetControlCount() const { return mEntries.size(); }

 private:
  struct Entry {
    GenericControl* control{nullptr};
    MessageSubscription* subscription{nullptr};
    bool owned{false};
  };

  static std::int32_t OnControlMessage(MessageSubscription* subscription, void* userData, std::int32_t key,
                                       MessageClass* messageClass, std::int32_t code, std::int32_t value,
                                       void* payload);
  // Runs when a control's class goes, muted or not.
  static void OnControlGone(MessageSubscription* subscription, void* userData, std::int32_t key);

  std::int32_t mOwnerValue{0};
  std::map<std::int32_t, Entry> mEntries{};
};
