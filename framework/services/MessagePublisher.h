#pragma once

#include "framework/services/Exceptions.h"
#include "framework/services/PluginServicesClient.h"

#include <cstdint>
#include <map>

struct MessageClass;
struct MessageSubscription;

// Base of objects that own message classes, each under a four-character reference.
class MessagePublisher : public PluginServicesClient {
 public:
  class BadMsgClassRef : public AppFrame::BadParameter {
   public:
    using BadParameter::BadParameter;
  };

  explicit MessagePublisher(PluginServices* services) : PluginServicesClient(services) {}
  // Unpublishes every class; a failure is dropped and the class forgotten all the same.
  virtual ~MessagePublisher();
  MessagePublisher(const MessagePublisher&) = delete;
  MessagePublisher& operator=(const MessagePublisher&) = delete;

  // Throws std::invalid_argument when the reference is taken, std::bad_alloc when memory runs out.
  virtual MessageClass* Publish(std::int32_t msgClassRef);
  // The operations below throw BadMsgClassRef for a reference that is not published.
  virtual void Unpublish(std::int32_t msgClassRef);
  virtual std::int32_t SendMessage(std::int32_t msgClassRef, std::int32_t code, std::int32_t value,
                                   void* payload = nullptr, MessageSubscription* excluded = nullptr);
  virtual void PostMessage(std::int32_t msgClassRef, std::int32_t code, std::int32_t value,
                           void* payload = nullptr, bool ownsPayload = false);
  virtual void MuteMessageClass(std::int32_t msgClassRef, bool on);

  MessageClass* GetMessageClass(std::int32_t msgClassRef) const;
  std::int32_t GetSubscriberCount(std::int32_t msgClassRef) const;

 private:
  MessageClass* Find(std::int32_t msgClassRef, const AppFrame::ThrowSite* site) const;

  std::map<std::int32_t, MessageClass*> mClasses{};
};
