#pragma once

#include "framework/services/Exceptions.h"
#include "framework/services/MessagingServer.h"
#include "framework/services/PluginServicesClient.h"
#include "framework/services/ThrowSites.h"

#include <cstdint>
#include <map>
#include <new>

// Mix-in through which a T receives messages in member functions, one per subscription
// reference of T's choosing.
//
// The rule: T calls StopSubscriptions() first thing in its destructor. After T's destructor
// body, T's members and its other bases are destroyed while this part still lives; one of them
// may send to T (a member or base that publishes tells its class is going away), and T's handler
// would run on a half-destroyed T. Once stopped, nothing is dispatched to T and nothing more is
// subscribed.
template <class T>
class MessageSubscriber : public PluginServicesClient {
 public:
  class BadSubRef : public AppFrame::BadParameter {
   public:
    using BadParameter::BadParameter;
  };

  // Called with the message code; the message itself is read through the GetCurrent... members.
  using Handler = std::int32_t (T::*)(std::int32_t code);

  explicit MessageSubscriber(PluginServices* services) : PluginServicesClient(services) {}
  virtual ~MessageSubscriber();
  MessageSubscriber(const MessageSubscriber&) = delete;
  MessageSubscriber& operator=(const MessageSubscriber&) = delete;

  // A reference in use throws BadSubRef unless replace is set, which ends the old subscription
  // first. Memory running out throws std::bad_alloc; a null class, one that is going away or a
  // stopped subscriber subscribes nothing.
  void Subscribe(MessageClass* messageClass, std::int32_t subRef, Handler handler, bool replace = false);
  // An unknown reference is ignored.
  void Unsubscribe(std::int32_t subRef);
  // Ends every subscription for good; see the rule above.
  void StopSubscriptions() noexcept;

 protected:
  std::int32_t GetCurrentSubscriptionValue() const { return mCurrentSubscriptionValue; }
  MessageClass* GetCurrentMessageClass() const { return mCurrentMessageClass; }
  std::int32_t GetCurrentMessageValue() const { return mCurrentMessageValue; }
  void* GetCurrentMessagePayload() const { return mCurrentMessagePayload; }

 private:
  struct Entry {
    std::int32_t subRef{0};
    MessageSubscription* subscription{nullptr};
    MessageClass* messageClass{nullptr};
    Handler handler{nullptr};
  };

  static std::int32_t Dispatch(MessageSubscription* subscription, void* userData,
                               std::int32_t subscriptionValue, MessageClass* messageClass, std::int32_t code,
                               std::int32_t value, void* payload);
  static void Release(MessageSubscription* subscription, void* userData, std::int32_t subscriptionValue);

  std::map<std::int32_t, Entry> mEntries{};
  bool mStopped{false};
  std::int32_t mCurrentSubscriptionValue{0};
  MessageClass* mCurrentMessageClass{nullptr};
  std::int32_t mCurrentMessageValue{0};
  void* mCurrentMessagePayload{nullptr};
};

template <class T>
MessageSubscriber<T>::~MessageSubscriber() {
  StopSubscriptions();
}

template <class T>
void MessageSubscriber<T>::StopSubscriptions() noexcept {
  mStopped = true;
  if (mEntries.empty()) return;
  try {
    MessagingServer& server = GetMessagingServer();
    for (const auto& [subRef, entry] : mEntries) server.Unsubscribe(entry.messageClass, entry.subscription);
  } catch (...) {
    // Without services there is no server, and so no subscription of ours left to stop.
  }
  mEntries.clear();
}

template <class T>
void MessageSubscriber<T>::Subscribe(MessageClass* messageClass, std::int32_t subRef, Handler handler,
                                     bool replace) {
  if (!messageClass || mStopped) return;
  if (mEntries.count(subRef)) {
    if (!replace) throw BadSubRef(&ThrowSites::kSubscribe);
    Unsubscribe(subRef);
  }
  MessagingServer& server = GetMessagingServer();
  const auto entry = mEntries.emplace(subRef, Entry{subRef, nullptr, messageClass, handler}).first;
  MessageSubscription* subscription =
      server.Subscribe(messageClass, &Dispatch, static_cast<MessageSubscriber*>(this), subRef, &Release);
  if (!subscription) {
    mEntries.erase(entry);
    if (server.IsClassGoingAway(messageClass)) return;
    throw std::bad_alloc();
  }
  entry->second.subscription = subscription;
  server.SetSubscriptionContext(subscription, &entry->second);
}

template <class T>
void MessageSubscriber<T>::Unsubscribe(std::int32_t subRef) {
  const auto found = mEntries.find(subRef);
  if (found == mEntries.end()) return;
  MessagingServer& server = GetMessagingServer();
  const Entry entry = found->second;
  mEntries.erase(found);
  server.Unsubscribe(entry.messageClass, entry.subscription);
}

template <class T>
std::int32_t MessageSubscriber<T>::Dispatch(MessageSubscription* subscription, void* userData,
                                            std::int32_t subscriptionValue, MessageClass* messageClass,
                                            std::int32_t code, std::int32_t value, void* payload) {
  if (!userData) return 0;
  auto* self = static_cast<MessageSubscriber*>(userData);
  if (self->mStopped) return 0;
  T* owner = dynamic_cast<T*>(self);
  const auto* entry =
      static_cast<const Entry*>(self->GetMessagingServer().GetSubscriptionContext(subscription));
  self->mCurrentSubscriptionValue = subscriptionValue;
  self->mCurrentMessageClass = messageClass;
  self->mCurrentMessageValue = value;
  self->mCurrentMessagePayload = payload;
  // Nothing of self is touched after the handler: it may unsubscribe or delete its owner.
  const Handler handler = entry ? entry->handler : nullptr;
  return owner && handler ? (owner->*handler)(code) : 0;
}

template <class T>
void MessageSubscriber<T>::Release(MessageSubscription* subscription, void* userData,
                                   std::int32_t subscriptionValue) {
  auto* self = static_cast<MessageSubscriber*>(userData);
  // The reference may already name a newer subscription made by a handler with replace.
  const auto found = self->mEntries.find(subscriptionValue);
  if (found != self->mEntries.end() && found->second.subscription == subscription)
    self->mEntries.erase(found);
}
