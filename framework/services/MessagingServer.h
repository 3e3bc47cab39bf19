#pragma once

#include "framework/services/Exceptions.h"

#include <cstdint>

// Records owned by the server; their addresses are the handles everybody else holds.
struct MessageClass;
struct MessageSubscription;
struct PostedMessage;

// Code sent to every subscriber when its class goes away.
constexpr std::int32_t kMessageClassRemoved = -0x8000;

using MessageCallback = std::int32_t (*)(MessageSubscription* subscription, void* userData,
                                         std::int32_t subscriptionValue, MessageClass* messageClass,
                                         std::int32_t code, std::int32_t value, void* payload);

// Called, muted or not, when a subscription is dropped because its class went away, so its owner
// can forget it. Not called for subscriptions ended by Unsubscribe.
using SubscriptionReleaseHook = void (*)(MessageSubscription* subscription, void* userData,
                                         std::int32_t subscriptionValue);

// Message classes of one plug-in instance. Editor and configuration threads only; no lock.
//
// Handlers may unsubscribe anything or remove any class, the one being delivered included:
// records are marked dead and freed only when the outermost delivery (send, drain or class
// removal) has ended.
class MessagingServer {
 public:
  class BadMsgClassId : public AppFrame::Exception {
   public:
    using Exception::Exception;
  };

  MessagingServer() = default;
  // Removes every remaining class (subscribers get kMessageClassRemoved); posts are dropped.
  virtual ~MessagingServer();
  MessagingServer(const MessagingServer&) = delete;
  MessagingServer& operator=(const MessagingServer&) = delete;

  // Null when memory runs out.
  MessageClass* CreateMessageClass(std::int32_t userData) noexcept;
  std::int32_t GetSubscriberCount(const MessageClass* messageClass) const;

  // The newest subscription is delivered to first. Null when memory runs out, when the class
  // is going away or without a callback.
  MessageSubscription* Subscribe(MessageClass* messageClass, MessageCallback callback, void* userData,
                                 std::int32_t subscriptionValue,
                                 SubscriptionReleaseHook releaseHook = nullptr) noexcept;
  // A null subscription, one of another class or an unknown class is ignored.
  void Unsubscribe(MessageClass* messageClass, MessageSubscription* subscription) noexcept;
  void SetSubscriptionContext(MessageSubscription* subscription, void* context);
  void* GetSubscriptionContext(const MessageSubscription* subscription) const;

  // Mutes nest; unmuting never goes below zero.
  void MuteMessageClass(MessageClass* messageClass, bool on);
  void MuteSubscription(MessageSubscription* subscription, bool on);

  std::int32_t Send(MessageClass* messageClass, std::int32_t code, std::int32_t value, void* payload,
                    MessageSubscription* excluded = nullptr);
  void DeliverToSubscriber(MessageClass* messageClass, MessageSubscription* subscription, std::int32_t code,
                           std::int32_t value, void* payload);

  // Queued for DeliverPostedMessages. An owned payload must come from plain operator new; the
  // queue frees it with operator delete, no destructor runs, also when it cannot be queued.
  void Post(MessageClass* messageClass, std::int32_t code, std::int32_t value, void* payload,
            bool ownsPayload, MessageSubscription* excluded = nullptr) noexcept;
  // Oldest first, including messages posted meanwhile.
  void DeliverPostedMessages();

  // Announces kMessageClassRemoved to every subscription, then drops the class and its queued
  // posts. Handler failures are dropped. Throws BadMsgClassId for a class the server does not
  // hold; inside the class's own removal a second call does nothing.
  void RemoveMessageClass(MessageClass* messageClass);
  bool IsClassGoingAway(const MessageClass* messageClass) const;

 private:
  class DeliveryScope;

  bool Holds(const MessageClass* messageClass) const;
  void DropPosted(const MessageClass* messageClass) noexcept;
  void Purge() noexcept;

  MessageClass* mClasses{nullptr};
  PostedMessage* mQueueHead{nullptr};
  PostedMessage* mQueueTail{nullptr};
  int mDeliveryDepth{0};
  bool mPurgeNeeded{false};
};
