#include "framework/services/FourCC.h"
#include "framework/services/MessagePublisher.h"
#include "framework/services/MessageSubscriber.h"
#include "framework/services/MessagingServer.h"
#include "framework/services/PluginServices.h"
#include "tests/support/AllocationFailure.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr std::int32_t kFirst = FourCC('f', 'r', 's', 't');
constexpr std::int32_t kSecond = FourCC('s', 'c', 'n', 'd');

class Listener : public MessageSubscriber<Listener> {
 public:
  Listener(PluginServices* services, std::vector<std::string>& log, std::string name)
      : MessageSubscriber<Listener>(services), mLog(log), mName(std::move(name)) {}

  std::int32_t OnMessage(std::int32_t code) {
    mLog.push_back(mName + ":" + std::to_string(code) + " sub " +
                   std::to_string(GetCurrentSubscriptionValue()) + " value " +
                   std::to_string(GetCurrentMessageValue()));
    lastClass = GetCurrentMessageClass();
    lastPayload = GetCurrentMessagePayload();
    if (action) action(code);
    return code + 1;
  }

  std::function<void(std::int32_t)> action;
  MessageClass* lastClass{nullptr};
  void* lastPayload{nullptr};

 private:
  std::vector<std::string>& mLog;
  std::string mName;
};

using Log = std::vector<std::string>;

struct MessageSubscriberTest : testing::Test {
  PluginServices services;
  MessagePublisher publisher{&services};
  MessageClass* first{publisher.Publish(kFirst)};
  MessageClass* second{publisher.Publish(kSecond)};
  Log log;
};

TEST_F(MessageSubscriberTest, HandlersGetTheCodeAndReadTheCurrentMessage) {
  Listener listener(&services, log, "l");
  listener.Subscribe(first, 11, &Listener::OnMessage);
  int payload = 0;
  publisher.SendMessage(kFirst, 2, 30, &payload);
  EXPECT_EQ(log, (Log{"l:2 sub 11 value 30"}));
  EXPECT_EQ(listener.lastClass, first);
  EXPECT_EQ(listener.lastPayload, &payload);
}

TEST_F(MessageSubscriberTest, AReferenceInUseNeedsReplaceAndThenHoldsOneSubscription) {
  Listener listener(&services, log, "l");
  listener.Subscribe(first, 1, &Listener::OnMessage);
  EXPECT_THROW(listener.Subscribe(second, 1, &Listener::OnMessage), Listener::BadSubRef);
  EXPECT_EQ(publisher.GetSubscriberCount(kSecond), 0);
  listener.Subscribe(first, 1, &Listener::OnMessage, true);
  EXPECT_EQ(publisher.GetSubscriberCount(kFirst), 1);
  listener.Unsubscribe(1);
  listener.Unsubscribe(1);
  EXPECT_EQ(publisher.GetSubscriberCount(kFirst), 0);
}

TEST_F(MessageSubscriberTest, AClassGoingAwayReachesTheHandlerAndEndsTheEntry) {
  Listener listener(&services, log, "l");
  listener.Subscribe(first, 1, &Listener::OnMessage);
  publisher.Unpublish(kFirst);
  EXPECT_EQ(log, (Log{"l:-32768 sub 1 value 0"}));
  listener.Unsubscribe(1);  // nothing left to end
  EXPECT_NO_THROW(listener.Subscribe(second, 1, &Listener::OnMessage));
}

TEST_F(MessageSubscriberTest, AMutedSubscriberStillForgetsAClassThatGoesAway) {
  Listener listener(&services, log, "l");
  listener.Subscribe(first, 1, &Listener::OnMessage);
  publisher.MuteMessageClass(kFirst, true);
  publisher.Unpublish(kFirst);
  EXPECT_TRUE(log.empty());
  listener.Unsubscribe(1);
  EXPECT_NO_THROW(listener.Subscribe(second, 1, &Listener::OnMessage));
}

TEST_F(MessageSubscriberTest, ARemovalHandlerMaySubscribeAgainUnderTheSameReference) {
  Listener listener(&services, log, "l");
  listener.Subscribe(first, 1, &Listener::OnMessage);
  listener.action = [&](std::int32_t code) {
    if (code == kMessageClassRemoved) listener.Subscribe(second, 1, &Listener::OnMessage, true);
  };
  publisher.Unpublish(kFirst);
  listener.action = nullptr;
  log.clear();
  publisher.SendMessage(kSecond, 4, 0);
  EXPECT_EQ(log, (Log{"l:4 sub 1 value 0"}));
  EXPECT_EQ(publisher.GetSubscriberCount(kSecond), 1);
}

TEST_F(MessageSubscriberTest, ARemovalHandlerCannotResubscribeToTheClassGoingAway) {
  Listener listener(&services, log, "l");
  listener.Subscribe(first, 1, &Listener::OnMessage);
  listener.action = [&](std::int32_t) {
    listener.Subscribe(publisher.GetMessageClass(kFirst), 1, &Listener::OnMessage, true);
  };
  publisher.Unpublish(kFirst);
  EXPECT_EQ(log.size(), 1u);
  EXPECT_NO_THROW(listener.Subscribe(second, 1, &Listener::OnMessage));
}

TEST_F(MessageSubscriberTest, ASubscriberMayBeDeletedByItsOwnMessage) {
  Listener survivor(&services, log, "survivor");
  survivor.Subscribe(first, 1, &Listener::OnMessage);
  auto* doomed = new Listener(&services, log, "doomed");
  doomed->Subscribe(first, 1, &Listener::OnMessage);
  doomed->Subscribe(second, 2, &Listener::OnMessage);
  doomed->action = [doomed](std::int32_t) { delete doomed; };
  publisher.SendMessage(kFirst, 1, 0);
  EXPECT_EQ(log, (Log{"doomed:1 sub 1 value 0", "survivor:1 sub 1 value 0"}));
  EXPECT_EQ(publisher.GetSubscriberCount(kFirst), 1);
  EXPECT_EQ(publisher.GetSubscriberCount(kSecond), 0);
}

TEST_F(MessageSubscriberTest, ASubscriberMayBeDeletedByTheRemovalOfItsClass) {
  auto* doomed = new Listener(&services, log, "doomed");
  doomed->Subscribe(first, 1, &Listener::OnMessage);
  doomed->Subscribe(second, 2, &Listener::OnMessage);
  doomed->action = [doomed](std::int32_t) { delete doomed; };
  publisher.Unpublish(kFirst);
  EXPECT_EQ(log.size(), 1u);
  EXPECT_EQ(publisher.GetSubscriberCount(kSecond), 0);
}

TEST_F(MessageSubscriberTest, OutOfMemoryThrowsAndLeavesNoEntry) {
  Listener listener(&services, log, "l");
  for (int nth = 0;; ++nth) {
    SCOPED_TRACE(nth);
    alloc_test::FailAllocation fail(nth);
    try {
      listener.Subscribe(first, 1, &Listener::OnMessage);
    } catch (const std::bad_alloc&) {
      ASSERT_TRUE(fail.Failed());
      EXPECT_EQ(publisher.GetSubscriberCount(kFirst), 0);
      continue;
    }
    ASSERT_FALSE(fail.Failed());
    break;
  }
  EXPECT_EQ(publisher.GetSubscriberCount(kFirst), 1);
}

// The handler belongs to T; while T is being torn down the subscriber part stays silent.
struct Base : MessageSubscriber<struct Derived> {
  explicit Base(PluginServices* services) : MessageSubscriber<Derived>(services) {}
};

struct Derived : Base {
  explicit Derived(PluginServices* services) : Base(services) {}
  std::int32_t OnMessage(std::int32_t) {
    ++calls;
    return 0;
  }
  int calls{0};
};

TEST_F(MessageSubscriberTest, NoHandlerRunsWhenTheSubscriberIsNotAT) {
  Base base(&services);
  base.Subscribe(first, 1, &Derived::OnMessage);
  EXPECT_NO_THROW(publisher.SendMessage(kFirst, 1, 0));
  Derived derived(&services);
  derived.Subscribe(first, 1, &Derived::OnMessage);
  publisher.SendMessage(kFirst, 1, 0);
  EXPECT_EQ(derived.calls, 1);
}

// The two shapes in which T's own parts send to T while T is destroyed: a base that publishes,
// and a member that publishes (declared before the state the handler reads, so it outlives it).
// Each stops its subscriptions first thing in its destructor; ASan would see a handler that ran.
struct PublishingBase : MessageSubscriber<PublishingBase>, MessagePublisher {
  PublishingBase(PluginServices* services, int& calls)
      : MessageSubscriber<PublishingBase>(services), MessagePublisher(services), calls(calls) {
    MessageSubscriber<PublishingBase>::Subscribe(Publish(kFirst), 1, &PublishingBase::OnMessage);
  }
  ~PublishingBase() override { StopSubscriptions(); }
  MessagePublisher& Sender() { return *this; }
  std::int32_t OnMessage(std::int32_t) {
    ++calls;
    return static_cast<std::int32_t>(state.size());
  }
  int& calls;
  std::string state = std::string(64, 's');
};

struct PublishingMember : MessageSubscriber<PublishingMember> {
  PublishingMember(PluginServices* services, int& calls)
      : MessageSubscriber<PublishingMember>(services), publisher(services), calls(calls) {
    Subscribe(publisher.Publish(kFirst), 1, &PublishingMember::OnMessage);
  }
  ~PublishingMember() override { StopSubscriptions(); }
  MessagePublisher& Sender() { return publisher; }
  std::int32_t OnMessage(std::int32_t) {
    ++calls;
    return static_cast<std::int32_t>(state.size());
  }
  MessagePublisher publisher;
  int& calls;
  std::string state = std::string(64, 's');
};

template <class Shape>
void ExpectNoHandlerOnceDestructionBegins() {
  PluginServices services;
  int calls = 0;
  auto shape = std::make_unique<Shape>(&services, calls);
  shape->Sender().SendMessage(kFirst, 5, 0);
  EXPECT_EQ(calls, 1);
  shape.reset();  // its class going away reaches no handler
  EXPECT_EQ(calls, 1);
}

TEST_F(MessageSubscriberTest, NoHandlerRunsOnceTheOwnersDestructorHasBegun) {
  ExpectNoHandlerOnceDestructionBegins<PublishingBase>();
  ExpectNoHandlerOnceDestructionBegins<PublishingMember>();
}

TEST_F(MessageSubscriberTest, AStoppedSubscriberSubscribesNothingMore) {
  Listener listener(&services, log, "l");
  listener.Subscribe(first, 1, &Listener::OnMessage);
  listener.StopSubscriptions();
  listener.Subscribe(second, 2, &Listener::OnMessage);
  publisher.SendMessage(kFirst, 1, 0);
  publisher.SendMessage(kSecond, 1, 0);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(publisher.GetSubscriberCount(kFirst), 0);
  EXPECT_EQ(publisher.GetSubscriberCount(kSecond), 0);
}

}  // namespace
