#include "framework/services/MessagingServer.h"
#include "tests/support/AllocationFailure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// Raw subscriptions that log "name:code" and may act on each delivery.
class Probes {
 public:
  struct Probe {
    Probes* owner{nullptr};
    std::string name;
    std::function<void(std::int32_t code)> action;
  };

  MessageSubscription* Subscribe(MessagingServer& server, MessageClass* cls, const std::string& name,
                                 std::function<void(std::int32_t)> action = {}) {
    mProbes.push_back(std::make_unique<Probe>(Probe{this, name, std::move(action)}));
    return server.Subscribe(cls, &Deliver, mProbes.back().get(), 0);
  }

  std::vector<std::string> log;

 private:
  static std::int32_t Deliver(MessageSubscription*, void* userData, std::int32_t, MessageClass*,
                              std::int32_t code, std::int32_t value, void*) {
    auto* probe = static_cast<Probe*>(userData);
    probe->owner->log.push_back(probe->name + ":" + std::to_string(code) +
                                (value ? "=" + std::to_string(value) : ""));
    if (probe->action) probe->action(code);
    return 0;
  }

  std::vector<std::unique_ptr<Probe>> mProbes;
};

using Log = std::vector<std::string>;

TEST(MessagingServer, SendReachesNewestFirstSkippingExcludedAndMuted) {
  Probes probes;  // outlives the server, which announces its classes' end to them
  MessagingServer server;
  MessageClass* cls = server.CreateMessageClass(1);
  MessageSubscription* a = probes.Subscribe(server, cls, "a");
  MessageSubscription* b = probes.Subscribe(server, cls, "b");
  MessageSubscription* c = probes.Subscribe(server, cls, "c");
  EXPECT_EQ(server.GetSubscriberCount(cls), 3);

  struct Case {
    const char* what;
    std::function<void()> setUp;
    MessageSubscription* excluded;
    Log expected;
    std::function<void()> tearDown;
  };
  const Case cases[] = {
      {"all", [] {}, nullptr, {"c:5", "b:5", "a:5"}, [] {}},
      {"excluded", [] {}, b, {"c:5", "a:5"}, [] {}},
      {"muted subscription",
       [&] { server.MuteSubscription(a, true); },
       nullptr,
       {"c:5", "b:5"},
       [&] { server.MuteSubscription(a, false); }},
      {"muted class",
       [&] { server.MuteMessageClass(cls, true); },
       nullptr,
       {},
       [&] { server.MuteMessageClass(cls, false); }},
      {"muted twice, unmuted once",
       [&] {
         server.MuteMessageClass(cls, true);
         server.MuteMessageClass(cls, true);
         server.MuteMessageClass(cls, false);
       },
       nullptr,
       {},
       [&] { server.MuteMessageClass(cls, false); }},
      {"unmuting an unmuted class stays at zero",
       [&] {
         server.MuteMessageClass(cls, false);
         server.MuteMessageClass(cls, true);
       },
       nullptr,
       {},
       [&] { server.MuteMessageClass(cls, false); }},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    probes.log.clear();
    test.setUp();
    EXPECT_EQ(server.Send(cls, 5, 0, nullptr, test.excluded), 0);
    EXPECT_EQ(probes.log, test.expected);
    test.tearDown();
  }
  probes.log.clear();
  server.DeliverToSubscriber(cls, b, 6, 1, nullptr);
  EXPECT_EQ(probes.log, (Log{"b:6=1"}));
  (void)c;
}

TEST(MessagingServer, AMuteSetByAHandlerAppliesToTheRestOfTheSend) {
  Probes probes;
  MessagingServer server;
  MessageClass* cls = server.CreateMessageClass(1);
  probes.Subscribe(server, cls, "a");
  probes.Subscribe(server, cls, "b", [&](std::int32_t) { server.MuteMessageClass(cls, true); });
  server.Send(cls, 1, 0, nullptr);
  EXPECT_EQ(probes.log, (Log{"b:1"}));
}

TEST(MessagingServer, HandlersMayUnsubscribeAnySubscriptionDuringASend) {
  Probes probes;
  MessagingServer server;
  MessageClass* cls = server.CreateMessageClass(1);
  MessageSubscription* a = probes.Subscribe(server, cls, "a");
  MessageSubscription* b = nullptr;
  b = probes.Subscribe(server, cls, "b", [&](std::int32_t) {
    server.Unsubscribe(cls, b);  // itself
    server.Unsubscribe(cls, a);  // its successor
  });
  server.Send(cls, 1, 0, nullptr);
  EXPECT_EQ(probes.log, (Log{"b:1"}));
  EXPECT_EQ(server.GetSubscriberCount(cls), 0);
  server.Unsubscribe(cls, a);  // gone already: ignored
  server.Unsubscribe(cls, nullptr);
  probes.log.clear();
  server.Send(cls, 2, 0, nullptr);
  EXPECT_TRUE(probes.log.empty());
}

TEST(MessagingServer, RemovingAClassAnnouncesItToUnmutedSubscriptionsNewestFirst) {
  Probes probes;
  MessagingServer server;
  MessageClass* cls = server.CreateMessageClass(1);
  probes.Subscribe(server, cls, "a");
  MessageSubscription* b = probes.Subscribe(server, cls, "b");
  probes.Subscribe(server, cls, "c");
  server.MuteSubscription(b, true);
  server.RemoveMessageClass(cls);
  EXPECT_EQ(probes.log, (Log{"c:-32768", "a:-32768"}));
  // The class is gone: removing it again is refused.
  EXPECT_THROW(server.RemoveMessageClass(cls), MessagingServer::BadMsgClassId);
}

TEST(MessagingServer, RemovingAClassItDoesNotHoldChangesNothing) {
  Probes probes;
  MessagingServer server;
  MessagingServer other;
  MessageClass* foreign = other.CreateMessageClass(1);
  probes.Subscribe(other, foreign, "a");
  EXPECT_THROW(server.RemoveMessageClass(foreign), MessagingServer::BadMsgClassId);
  EXPECT_TRUE(probes.log.empty());
  EXPECT_EQ(other.GetSubscriberCount(foreign), 1);
}

TEST(MessagingServer, AHandlerMayRemoveTheClassBeingSent) {
  Probes probes;
  MessagingServer server;
  MessageClass* cls = server.CreateMessageClass(1);
  probes.Subscribe(server, cls, "a");
  probes.Subscribe(server, cls, "b", [&](std::int32_t code) {
    if (code == 1) server.RemoveMessageClass(cls);
  });
  server.Send(cls, 1, 0, nullptr);
  EXPECT_EQ(probes.log, (Log{"b:1", "b:-32768", "a:-32768"}));
}

TEST(MessagingServer, RemovalHandlersMayThrowRemoveAgainOrSubscribeAgain) {
  Probes probes;
  MessagingServer server;
  MessageClass* cls = server.CreateMessageClass(1);
  probes.Subscribe(server, cls, "a");
  probes.Subscribe(server, cls, "b", [&](std::int32_t) {
    server.RemoveMessageClass(cls);  // inside its own removal: nothing more happens
    EXPECT_EQ(probes.Subscribe(server, cls, "late"), nullptr);
    throw 1;
  });
  EXPECT_NO_THROW(server.RemoveMessageClass(cls));
  EXPECT_EQ(probes.log, (Log{"b:-32768", "a:-32768"}));
}

TEST(MessagingServer, PostsAreDeliveredOldestFirstIncludingThosePostedMeanwhile) {
  Probes probes;
  MessagingServer server;
  MessageClass* first = server.CreateMessageClass(1);
  MessageClass* second = server.CreateMessageClass(2);
  probes.Subscribe(server, first, "f", [&](std::int32_t code) {
    if (code == 1) server.Post(second, 9, 0, nullptr, false);
  });
  probes.Subscribe(server, second, "s");
  server.Post(first, 1, 0, nullptr, false);
  server.Post(second, 2, 0, nullptr, false);
  server.Post(first, 3, 0, nullptr, false);
  EXPECT_TRUE(probes.log.empty());
  server.DeliverPostedMessages();
  EXPECT_EQ(probes.log, (Log{"f:1", "s:2", "f:3", "s:9"}));
  probes.log.clear();
  server.DeliverPostedMessages();
  EXPECT_TRUE(probes.log.empty());
}

TEST(MessagingServer, ANestedDrainDeliversAndFreesEachPostOnce) {
  Probes probes;
  MessagingServer server;
  MessageClass* cls = server.CreateMessageClass(1);
  probes.Subscribe(server, cls, "a", [&](std::int32_t code) {
    if (code == 1) server.DeliverPostedMessages();
  });
  for (std::int32_t code = 1; code <= 3; ++code) server.Post(cls, code, 0, ::operator new(8), true);
  server.DeliverPostedMessages();
  EXPECT_EQ(probes.log, (Log{"a:1", "a:2", "a:3"}));
}

TEST(MessagingServer, OwnedPayloadsAreFreedWhateverBecomesOfTheirPost) {
  struct Case {
    const char* what;
    std::function<void(MessagingServer&, MessageClass*, void*)> run;
    long deliveries;
  };
  const Case cases[] = {
      {"delivered",
       [](MessagingServer& server, MessageClass* cls, void* payload) {
         server.Post(cls, 1, 0, payload, true);
         server.DeliverPostedMessages();
       },
       1},
      {"no memory for the queue entry",
       [](MessagingServer& server, MessageClass* cls, void* payload) {
         alloc_test::FailAllocation fail(0);
         server.Post(cls, 1, 0, payload, true);
         EXPECT_TRUE(fail.Failed());
       },
       0},
      {"class removed while queued",
       [](MessagingServer& server, MessageClass* cls, void* payload) {
         server.Post(cls, 1, 0, payload, true);
         server.RemoveMessageClass(cls);
         server.DeliverPostedMessages();
       },
       0},
      {"server destroyed while queued",
       [](MessagingServer&, MessageClass*, void* payload) {
         MessagingServer local;
         local.Post(local.CreateMessageClass(1), 1, 0, payload, true);
       },
       0},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.what);
    Probes probes;
    MessagingServer server;
    MessageClass* cls = server.CreateMessageClass(1);
    probes.Subscribe(server, cls, "a");
    void* payload = ::operator new(16);
    alloc_test::WatchBlock(payload);
    test.run(server, cls, payload);
    EXPECT_TRUE(alloc_test::WatchedBlockFreed());
    EXPECT_EQ(std::count(probes.log.begin(), probes.log.end(), "a:1"), test.deliveries);
  }
}

TEST(MessagingServer, AHandlerMayRemoveAClassWhilePostsAreDrained) {
  Probes probes;
  MessagingServer server;
  MessageClass* doomed = server.CreateMessageClass(1);
  MessageClass* other = server.CreateMessageClass(2);
  probes.Subscribe(server, doomed, "d", [&](std::int32_t code) {
    if (code == 1) server.RemoveMessageClass(doomed);
  });
  probes.Subscribe(server, other, "o");
  server.Post(doomed, 1, 0, nullptr, false);
  server.Post(doomed, 2, 0, nullptr, false);
  server.Post(other, 3, 0, nullptr, false);
  server.DeliverPostedMessages();
  EXPECT_EQ(probes.log, (Log{"d:1", "d:-32768", "o:3"}));
}

TEST(MessagingServer, DestructionAnnouncesEveryClassAndDeliversNoPost) {
  Probes probes;
  {
    MessagingServer server;
    MessageClass* cls = server.CreateMessageClass(1);
    probes.Subscribe(server, cls, "a");
    probes.Subscribe(server, server.CreateMessageClass(2), "b", [](std::int32_t) { throw 2; });
    server.Post(cls, 1, 0, nullptr, false);
  }
  EXPECT_EQ(probes.log, (Log{"b:-32768", "a:-32768"}));
}

TEST(MessagingServer, OutOfMemoryOrNoCallbackYieldsNoClassAndNoSubscription) {
  MessagingServer server;
  {
    alloc_test::FailAllocation fail(0);
    EXPECT_EQ(server.CreateMessageClass(1), nullptr);
  }
  MessageClass* cls = server.CreateMessageClass(1);
  const MessageCallback ignore = [](MessageSubscription*, void*, std::int32_t, MessageClass*, std::int32_t,
                                    std::int32_t, void*) { return std::int32_t{0}; };
  {
    alloc_test::FailAllocation fail(0);
    EXPECT_EQ(server.Subscribe(cls, ignore, nullptr, 0), nullptr);
  }
  EXPECT_EQ(server.Subscribe(cls, nullptr, nullptr, 0), nullptr);  // nothing to call
  EXPECT_EQ(server.GetSubscriberCount(cls), 0);
}

}  // namespace
