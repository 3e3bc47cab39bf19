#include "framework/services/MessagePublisher.h"

#include "framework/services/MessagingServer.h"
#include "framework/services/ThrowSites.h"

#include <new>
#include <stdexcept>

MessagePublisher::~MessagePublisher() {
  while (!mClasses.empty()) {
    const std::int32_t msgClassRef = mClasses.begin()->first;
    try {
      Unpublish(msgClassRef);
    } catch (...) {
      // A destructor must not throw: a class that cannot be removed is only forgotten.
    }
    mClasses.erase(msgClassRef);
  }
}

MessageClass* MessagePublisher::Publish(std::int32_t msgClassRef) {
  auto [entry, inserted] = mClasses.emplace(msgClassRef, nullptr);
  if (!inserted) throw std::invalid_argument("MessagePublisher::Publish: msgClassRef is not unique.");
  MessageClass* messageClass = nullptr;
  try {
    messageClass = GetMessagingServer().CreateMessageClass(msgClassRef);
  } catch (...) {
    mClasses.erase(entry);
    throw;
  }
  if (!messageClass) {
    mClasses.erase(entry);
    throw std::bad_alloc();
  }
  entry->second = messageClass;
  return messageClass;
}

void MessagePublisher::Unpublish(std::int32_t msgClassRef) {
  MessageClass* messageClass = Find(msgClassRef, &ThrowSites::kUnpublish);
  MessagingServer& server = GetMessagingServer();
  // Forgotten before the removal is announced: a handler of it may delete this publisher, so
  // nothing of it is touched afterwards.
  mClasses.erase(msgClassRef);
  server.RemoveMessageClass(messageClass);
}

std::int32_t MessagePublisher::SendMessage(std::int32_t msgClassRef, std::int32_t code, std::int32_t value,
                                           void* payload, MessageSubscription* excluded) {
  MessageClass* messageClass = Find(msgClassRef, &ThrowSites::kSendMessage);
  return GetMessagingServer().Send(messageClass, code, value, payload, excluded);
}

void MessagePublisher::PostMessage(std::int32_t msgClassRef, std::int32_t code, std::int32_t value,
                                   void* payload, bool ownsPayload) {
  MessageClass* messageClass = Find(msgClassRef, &ThrowSites::kPostMessage);
  GetMessagingServer().Post(messageClass, code, value, payload, ownsPayload);
}

void MessagePublisher::MuteMessageClass(std::int32_t msgClassRef, bool on) {
  MessageClass* messageClass = Find(msgClassRef, &ThrowSites::kMuteMessageClass);
  GetMessagingServer().MuteMessageClass(messageClass, on);
}

MessageClass* MessagePublisher::GetMessageClass(std::int32_t msgClassRef) const {
  return Find(msgClassRef, &ThrowSites::kGetMessageClass);
}

std::int32_t MessagePublisher::GetSubscriberCount(std::int32_t msgClassRef) const {
  MessageClass* messageClass = Find(msgClassRef, &ThrowSites::kGetSubscriberCount);
  return GetMessagingServer().GetSubscriberCount(messageClass);
}

MessageClass* MessagePublisher::Find(std::int32_t msgClassRef, const AppFrame::ThrowSite* site) const {
  const auto entry = mClasses.find(msgClassRef);
  if (entry == mClasses.end()) throw BadMsgClassRef(site);
  return entry->second;
}
