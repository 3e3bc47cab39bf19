#include "framework/services/FourCC.h"
#include "framework/services/MessagePublisher.h"
#include "framework/services/MessagingServer.h"
#include "framework/services/PluginServices.h"
#include "tests/support/AllocationFailure.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

constexpr std::int32_t kAlarm = FourCC('a', 'l', 'm', 'M');
constexpr std::int32_t kEvent = FourCC('a', 'E', 'v', 'l');

struct Recorded {
  std::int32_t code{0};
  std::int32_t value{0};
  void* payload{nullptr};
};

std::int32_t Record(MessageSubscription*, void* userData, std::int32_t, MessageClass*, std::int32_t code,
                    std::int32_t value, void* payload) {
  static_cast<std::vector<Recorded>*>(userData)->push_back({code, value, payload});
  return 0;
}

TEST(MessagePublisher, PublishedClassesCarryMessagesToTheirSubscribers) {
  PluginServices services;
  MessagingServer& server = services.GetMessagingServer();
  std::vector<Recorded> heard;
  {
    MessagePublisher publisher(&services);
    MessageClass* cls = publisher.Publish(kAlarm);
    EXPECT_EQ(publisher.GetMessageClass(kAlarm), cls);
    server.Subscribe(cls, &Record, &heard, 0);
    EXPECT_EQ(publisher.GetSubscriberCount(kAlarm), 1);
    int payload = 0;
    publisher.SendMessage(kAlarm, 3, 4, &payload);
    publisher.MuteMessageClass(kAlarm, true);
    publisher.SendMessage(kAlarm, 5, 0);
    publisher.MuteMessageClass(kAlarm, false);
    publisher.PostMessage(kAlarm, 6, 7);
    server.DeliverPostedMessages();
    ASSERT_EQ(heard.size(), 2u);
    EXPECT_EQ(heard[0].code, 3);
    EXPECT_EQ(heard[0].value, 4);
    EXPECT_EQ(heard[0].payload, &payload);
    EXPECT_EQ(heard[1].code, 6);
    heard.clear();
  }
  // Its destructor unpublished the class.
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_EQ(heard[0].code, kMessageClassRemoved);
}

TEST(MessagePublisher, AReferenceIsPublishedOnce) {
  PluginServices services;
  MessagePublisher publisher(&services);
  publisher.Publish(kAlarm);
  try {
    publisher.Publish(kAlarm);
    FAIL();
  } catch (const std::invalid_argument& error) {
    EXPECT_STREQ(error.what(), "MessagePublisher::Publish: msgClassRef is not unique.");
  }
  publisher.Unpublish(kAlarm);
  EXPECT_THROW(publisher.GetMessageClass(kAlarm), MessagePublisher::BadMsgClassRef);
  EXPECT_NO_THROW(publisher.Publish(kAlarm));
}

TEST(MessagePublisher, OutOfMemoryLeavesNoEntryBehind) {
  PluginServices services;
  MessagePublisher publisher(&services);
  for (int nth = 0;; ++nth) {
    SCOPED_TRACE(nth);
    MessageClass* cls = nullptr;
    bool threw = false;
    {
      alloc_test::FailAllocation fail(nth);
      try {
        cls = publisher.Publish(kEvent);
      } catch (const std::bad_alloc&) {
        threw = true;
      }
      if (!fail.Failed()) {
        ASSERT_NE(cls, nullptr);
        break;
      }
    }
    ASSERT_TRUE(threw);
    EXPECT_THROW(publisher.GetMessageClass(kEvent), MessagePublisher::BadMsgClassRef);
  }
}

TEST(MessagePublisher, DestructionForgetsClassesWhoseUnpublishingFails) {
  PluginServices services;
  MessagingServer& server = services.GetMessagingServer();
  auto* publisher = new MessagePublisher(&services);
  publisher->Publish(kAlarm);
  publisher->Publish(kEvent);
  // Removed behind the publisher's back: unpublishing it throws BadMsgClassId.
  server.RemoveMessageClass(publisher->GetMessageClass(kAlarm));
  std::vector<Recorded> heard;
  server.Subscribe(publisher->GetMessageClass(kEvent), &Record, &heard, 0);
  delete publisher;
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_EQ(heard[0].code, kMessageClassRemoved);
}

}  // namespace

namespace {

// A handler of the class's going-away message deletes its publisher: Unpublish must not touch the
// publisher once the removal has been announced (ASan sees it).
TEST(MessagePublisher, AHandlerOfTheRemovalMayDeleteThePublisher) {
  PluginServices services;
  auto* publisher = new MessagePublisher(&services);
  MessageClass* cls = publisher->Publish(kAlarm);
  publisher->Publish(kEvent);
  auto deletePublisher = [](MessageSubscription*, void* userData, std::int32_t, MessageClass*,
                            std::int32_t code, std::int32_t, void*) -> std::int32_t {
    if (code == kMessageClassRemoved) delete *static_cast<MessagePublisher**>(userData);
    return 0;
  };
  services.GetMessagingServer().Subscribe(cls, deletePublisher, &publisher, 0);
  std::vector<Recorded> heard;
  services.GetMessagingServer().Subscribe(cls, &Record, &heard, 0);
  publisher->Unpublish(kAlarm);
  ASSERT_EQ(heard.size(), 1u);  // the newest subscriber heard the removal before the deletion
  EXPECT_EQ(heard[0].code, kMessageClassRemoved);
}

}  // namespace
