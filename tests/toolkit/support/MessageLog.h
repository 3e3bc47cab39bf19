#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "framework/services/MessagingServer.h"

// Calls a function with (code, value) of every message of one class until the class goes.
class MessageHook {
 public:
  using Handler = std::function<void(std::int32_t code, std::int32_t value)>;

  MessageHook(MessagingServer& server, MessageClass* messageClass, Handler handler)
      : mServer(server), mClass(messageClass), mHandler(std::move(handler)) {
    mSubscription = server.Subscribe(messageClass, &Call, this, 0, &Gone);
  }
  ~MessageHook() {
    if (mSubscription) mServer.Unsubscribe(mClass, mSubscription);
  }
  MessageHook(const MessageHook&) = delete;
  MessageHook& operator=(const MessageHook&) = delete;

 private:
  static std::int32_t Call(MessageSubscription*, void* self, std::int32_t, MessageClass*, std::int32_t code,
                           std::int32_t value, void*) {
    static_cast<MessageHook*>(self)->mHandler(code, value);
    return 0;
  }
  static void Gone(MessageSubscription*, void* self, std::int32_t) {
    static_cast<MessageHook*>(self)->mSubscription = nullptr;
  }

  MessagingServer& mServer;
  MessageClass* mClass{nullptr};
  Handler mHandler;
  MessageSubscription* mSubscription{nullptr};
};

// Records (code, value) of every message of one class until the class goes.
class MessageLog {
 public:
  using Entry = std::pair<std::int32_t, std::int32_t>;

  MessageLog(MessagingServer& server, MessageClass* messageClass)
      : mHook(server, messageClass,
              [this](std::int32_t code, std::int32_t value) { entries.emplace_back(code, value); }) {}

  std::vector<Entry> entries;

  std::vector<Entry> Take() { return std::exchange(entries, {}); }

 private:
  MessageHook mHook;
};
