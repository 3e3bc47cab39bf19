#include "toolkit/controls/ControlContainer.h"

#include <new>

#include "framework/services/MessagingServer.h"
#include "framework/services/ThrowSites.h"
#include "toolkit/controls/GenericControl.h"

ControlContainer::ControlContainer(PluginServices* services, std::int32_t ownerValue)
    : MessagePublisher(services), mOwnerValue(ownerValue) {
  Publish(kMsgClassRef);
}

ControlContainer::~ControlContainer() {
  while (!mEntries.empty()) RemoveControl(mEntries.begin()->first);
}

void ControlContainer::AddControl(GenericControl* control, std::int32_t key, bool owned) {
  if (mEntries.count(key)) throw AppFrame::DuplicateEntry(&ThrowSites::kDuplicateControl);
  MessageSubscription* subscription = GetMessagingServer().Subscribe(
      control->GetControlMsgClass(), &OnControlMessage, this, key, &OnControlGone);
  if (!subscription) throw std::bad_alloc();
  mEntries.emplace(key, Entry{control, subscription, owned});
}

GenericControl* ControlContainer::FindControl(std::int32_t key) const {
  const auto found = mEntries.find(key);
  return found == mEntries.end() ? nullptr : found->second.control;
}

void ControlContainer::ControlRemoved(std::int32_t) {}
void ControlContainer::ControlValueChanged(std::int32_t, std::int32_t, GenericControl*) {}
void ControlContainer::ControlMessage(std::int32_t, std::int32_t, std::int32_t, GenericControl*) {}

void ControlContainer::RemoveControl(std::int32_t key) {
  const auto found = mEntries.find(key);
  if (found == mEntries.end()) return;
  const Entry entry = found->second;
  mEntries.erase(found);
  try {
    GetMessagingServer().Unsubscribe(entry.control->GetControlMsgClass(), entry.subscription);
  } catch (...) {
    // Without services there is no server, and so no subscription left to stop.
  }
}

void ControlContainer::DeleteOwnedControls() {
  while (!mEntries.empty()) {
    const Entry entry = mEntries.begin()->second;
    // Out of the map before the delete: the control's removal notice may be muted and never
    // erase it.
    RemoveControl(mEntries.begin()->first);
    if (entry.owned) delete entry.control;
  }
}

std::int32_t ControlContainer::OnControlMessage(MessageSubscription*, void* userData, std::int32_t key,
                                                MessageClass*, std::int32_t code, std::int32_t value,
                                                void* payload) {
  auto* self = static_cast<ControlContainer*>(userData);
  auto* sender = static_cast<GenericControl*>(payload);
  if (code == kMessageClassRemoved) return 0;  // the release hook erases the entry
  if (code == GenericControl::kValueChanged) {
    self->ControlValueChanged(key, value, sender);
    self->SendMessage(kMsgClassRef, 0, key);
  } else {
    self->ControlMessage(key, code, value, sender);
  }
  return 0;
}

void ControlContainer::OnControlGone(MessageSubscription* subscription, void* userData, std::int32_t key) {
  auto* self = static_cast<ControlContainer*>(userData);
  const auto found = self->mEntries.find(key);
  if (found == self->mEntries.end() || found->second.subscription != subscription) return;
  self->mEntries.erase(found);
  self->ControlRemoved(key);
}
