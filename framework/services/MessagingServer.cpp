#include "framework/services/MessagingServer.h"

#include "framework/services/ThrowSites.h"

#include <memory>
#include <new>

struct MessageSubscription {
  MessageSubscription* next{nullptr};
  std::int32_t muteCount{0};
  MessageCallback callback{nullptr};
  void* userData{nullptr};
  void* context{nullptr};
  std::int32_t subscriptionValue{0};
  SubscriptionReleaseHook releaseHook{nullptr};
  bool dead{false};
};

struct MessageClass {
  MessageClass* next{nullptr};
  std::int32_t muteCount{0};
  MessageSubscription* subscribers{nullptr};
  std::int32_t subscriberCount{0};
  std::int32_t userData{0};
  bool goingAway{false};
  bool dead{false};
};

struct PostedMessage {
  PostedMessage* next{nullptr};
  bool ownsPayload{false};
  MessageClass* messageClass{nullptr};
  std::int32_t code{0};
  std::int32_t value{0};
  void* payload{nullptr};
  MessageSubscription* excluded{nullptr};
};

namespace {

struct PostedMessageDeleter {
  void operator()(PostedMessage* message) const noexcept {
    if (message->ownsPayload && message->payload) ::operator delete(message->payload);
    delete message;
  }
};

bool Muted(const MessageClass* messageClass, const MessageSubscription* subscription) {
  return subscription->muteCount > 0 || messageClass->muteCount > 0;
}

void MarkDead(MessageClass* messageClass, MessageSubscription* subscription) noexcept {
  subscription->dead = true;
  --messageClass->subscriberCount;
}

}  // namespace

// Keeps records alive while any delivery runs; the outermost one frees what died meanwhile.
class MessagingServer::DeliveryScope {
 public:
  explicit DeliveryScope(MessagingServer& server) : mServer(server) { ++mServer.mDeliveryDepth; }
  ~DeliveryScope() {
    if (--mServer.mDeliveryDepth == 0 && mServer.mPurgeNeeded) mServer.Purge();
  }
  DeliveryScope(const DeliveryScope&) = delete;
  DeliveryScope& operator=(const DeliveryScope&) = delete;

 private:
  MessagingServer& mServer;
};

MessagingServer::~MessagingServer() {
  for (;;) {
    MessageClass* live = mClasses;
    while (live && (live->dead || live->goingAway)) live = live->next;
    if (!live) break;
    RemoveMessageClass(live);
  }
  while (PostedMessage* message = mQueueHead) {
    mQueueHead = message->next;
    PostedMessageDeleter()(message);
  }
  mQueueTail = nullptr;
  Purge();
}

MessageClass* MessagingServer::CreateMessageClass(std::int32_t userData) noexcept {
  auto* messageClass = new (std::nothrow) MessageClass;
  if (!messageClass) return nullptr;
  messageClass->userData = userData;
  messageClass->next = mClasses;
  mClasses = messageClass;
  return messageClass;
}

std::int32_t MessagingServer::GetSubscriberCount(const MessageClass* messageClass) const {
  return messageClass->subscriberCount;
}

MessageSubscription* MessagingServer::Subscribe(MessageClass* messageClass, MessageCallback callback,
                                                void* userData, std::int32_t subscriptionValue,
                                                SubscriptionReleaseHook releaseHook) noexcept {
  // A class that is going away takes no new subscriptions, or a handler that subscribes again
  // on its removal notice would keep the removal going forever.
  if (!messageClass || !callback || messageClass->goingAway || messageClass->dead) return nullptr;
  auto* subscription = new (std::nothrow) MessageSubscription;
  if (!subscription) return nullptr;
  subscription->callback = callback;
  subscription->userData = userData;
  subscription->subscriptionValue = subscriptionValue;
  subscription->releaseHook = releaseHook;
  subscription->next = messageClass->subscribers;
  messageClass->subscribers = subscription;
  ++messageClass->subscriberCount;
  return subscription;
}

void MessagingServer::Unsubscribe(MessageClass* messageClass, MessageSubscription* subscription) noexcept {
  if (!subscription || !Holds(messageClass)) return;
  for (MessageSubscription** link = &messageClass->subscribers; *link; link = &(*link)->next) {
    if (*link != subscription) continue;
    if (subscription->dead) return;
    MarkDead(messageClass, subscription);
    if (mDeliveryDepth > 0) {
      mPurgeNeeded = true;
    } else {
      *link = subscription->next;
      delete subscription;
    }
    return;
  }
}

void MessagingServer::SetSubscriptionContext(MessageSubscription* subscription, void* context) {
  subscription->context = context;
}

void* MessagingServer::GetSubscriptionContext(const MessageSubscription* subscription) const {
  return subscription->context;
}

void MessagingServer::MuteMessageClass(MessageClass* messageClass, bool on) {
  if (on)
    ++messageClass->muteCount;
  else if (messageClass->muteCount > 0)
    --messageClass->muteCount;
}

void MessagingServer::MuteSubscription(MessageSubscription* subscription, bool on) {
  if (on)
    ++subscription->muteCount;
  else if (subscription->muteCount > 0)
    --subscription->muteCount;
}

std::int32_t MessagingServer::Send(MessageClass* messageClass, std::int32_t code, std::int32_t value,
                                   void* payload, MessageSubscription* excluded) {
  if (!messageClass || messageClass->dead) return 0;
  DeliveryScope scope(*this);
  MessageSubscription* next = nullptr;
  for (MessageSubscription* subscription = messageClass->subscribers; subscription; subscription = next) {
    next = subscription->next;
    // Mutes are read for every subscription, so a mute set by a handler applies at once.
    if (subscription->dead || subscription == excluded || Muted(messageClass, subscription)) continue;
    subscription->callback(subscription, subscription->userData, subscription->subscriptionValue,
                           messageClass, code, value, payload);
  }
  return 0;
}

void MessagingServer::DeliverToSubscriber(MessageClass* messageClass, MessageSubscription* subscription,
                                          std::int32_t code, std::int32_t value, void* payload) {
  if (!messageClass || !subscription || messageClass->dead || subscription->dead ||
      Muted(messageClass, subscription))
    return;
  DeliveryScope scope(*this);
  subscription->callback(subscription, subscription->userData, subscription->subscriptionValue, messageClass,
                         code, value, payload);
}

void MessagingServer::Post(MessageClass* messageClass, std::int32_t code, std::int32_t value, void* payload,
                           bool ownsPayload, MessageSubscription* excluded) noexcept {
  PostedMessage* message = nullptr;
  // Posts to a class that is going away would never be delivered.
  if (messageClass && !messageClass->goingAway && !messageClass->dead)
    message =
        new (std::nothrow) PostedMessage{nullptr, ownsPayload, messageClass, code, value, payload, excluded};
  if (!message) {
    if (ownsPayload && payload) ::operator delete(payload);
    return;
  }
  if (mQueueTail)
    mQueueTail->next = message;
  else
    mQueueHead = message;
  mQueueTail = message;
}

void MessagingServer::DeliverPostedMessages() {
  DeliveryScope scope(*this);
  while (mQueueHead) {
    // Unlinked before delivery, so a nested drain can neither deliver nor free it again.
    std::unique_ptr<PostedMessage, PostedMessageDeleter> message(mQueueHead);
    mQueueHead = message->next;
    if (!mQueueHead) mQueueTail = nullptr;
    Send(message->messageClass, message->code, message->value, message->payload, message->excluded);
  }
}

void MessagingServer::RemoveMessageClass(MessageClass* messageClass) {
  if (!Holds(messageClass)) throw BadMsgClassId(&ThrowSites::kRemoveMessageClass);
  if (messageClass->goingAway) return;
  messageClass->goingAway = true;
  DeliveryScope scope(*this);
  DropPosted(messageClass);
  for (;;) {
    MessageSubscription* subscription = messageClass->subscribers;
    while (subscription && subscription->dead) subscription = subscription->next;
    if (!subscription) break;
    if (!Muted(messageClass, subscription)) {
      try {
        subscription->callback(subscription, subscription->userData, subscription->subscriptionValue,
                               messageClass, kMessageClassRemoved, 0, nullptr);
      } catch (...) {
        // Runs from destructors too, which must not throw: a failing handler is dropped.
      }
    }
    if (subscription->dead) continue;  // the handler unsubscribed it itself
    MarkDead(messageClass, subscription);
    if (subscription->releaseHook)
      subscription->releaseHook(subscription, subscription->userData, subscription->subscriptionValue);
  }
  messageClass->dead = true;
  mPurgeNeeded = true;
}

bool MessagingServer::IsClassGoingAway(const MessageClass* messageClass) const {
  return messageClass->goingAway || messageClass->dead;
}

bool MessagingServer::Holds(const MessageClass* messageClass) const {
  for (const MessageClass* held = mClasses; held; held = held->next)
    if (held == messageClass) return !held->dead;
  return false;
}

void MessagingServer::DropPosted(const MessageClass* messageClass) noexcept {
  PostedMessage* previous = nullptr;
  for (PostedMessage** link = &mQueueHead; *link;) {
    PostedMessage* message = *link;
    if (message->messageClass != messageClass) {
      previous = message;
      link = &message->next;
      continue;
    }
    *link = message->next;
    if (mQueueTail == message) mQueueTail = previous;
    PostedMessageDeleter()(message);
  }
}

void MessagingServer::Purge() noexcept {
  mPurgeNeeded = false;
  for (MessageClass** classLink = &mClasses; *classLink;) {
    MessageClass* messageClass = *classLink;
    for (MessageSubscription** link = &messageClass->subscribers; *link;) {
      MessageSubscription* subscription = *link;
      if (subscription->dead || messageClass->dead) {
        *link = subscription->next;
        delete subscription;
      } else {
        link = &subscription->next;
      }
    }
    if (messageClass->dead) {
      *classLink = messageClass->next;
      delete messageClass;
    } else {
      classLink = &messageClass->next;
    }
  }
}
