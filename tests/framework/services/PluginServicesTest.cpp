#include "framework/services/FourCC.h"
#include "framework/services/MessagePublisher.h"
#include "framework/services/MessageSubscriber.h"
#include "framework/services/MessagingServer.h"
#include "framework/services/PluginServices.h"
#include "framework/services/TimerClient.h"
#include "framework/services/TimerManager.h"
#include "tests/support/AllocationFailure.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr std::int32_t kRef = FourCC('c', 'f', 'g', ' ');

TEST(PluginServices, AServiceThatCouldNotBeMadeIsReportedNotReady) {
  {
    alloc_test::FailAllocation fail(0);  // the timer manager
    PluginServices services;
    ASSERT_TRUE(fail.Failed());
    EXPECT_THROW(services.GetTimerManager(), PluginServices::PluginServicesNotReady);
    EXPECT_NO_THROW(services.GetMessagingServer());
  }
  {
    alloc_test::FailAllocation fail(1);  // the messaging server
    PluginServices services;
    ASSERT_TRUE(fail.Failed());
    EXPECT_NO_THROW(services.GetTimerManager());
    MessagePublisher publisher(&services);
    EXPECT_THROW(publisher.Publish(kRef), PluginServices::PluginServicesNotReady);
    EXPECT_THROW(publisher.GetMessageClass(kRef), MessagePublisher::BadMsgClassRef);
  }
}

struct Gadget : MessageSubscriber<Gadget>, TimerClient<Gadget> {
  explicit Gadget(PluginServices* services)
      : MessageSubscriber<Gadget>(services), TimerClient<Gadget>(services, this) {}
  std::int32_t OnMessage(std::int32_t) { return 0; }
  void OnTimer() {}
};

TEST(PluginServices, ClientsWithoutServicesThrowNotReadyAndDestroyQuietly) {
  Gadget gadget(nullptr);
  EXPECT_THROW(gadget.AddTimer(TimerManager::kPeriodic, 1, &Gadget::OnTimer, 1),
               PluginServices::PluginServicesNotReady);
  MessagePublisher publisher(nullptr);
  EXPECT_THROW(publisher.Publish(kRef), PluginServices::PluginServicesNotReady);
  EXPECT_THROW(publisher.GetMessageClass(kRef), MessagePublisher::BadMsgClassRef);

  PluginServices services;
  gadget.TimerClient<Gadget>::AttachServices(&services);
  gadget.AddTimer(TimerManager::kPeriodic, 1, &Gadget::OnTimer, 1);
  EXPECT_EQ(services.GetTimerManager().GetTimerCount(), 1);
  gadget.RemoveTimer(1);
  EXPECT_EQ(services.GetTimerManager().GetTimerCount(), 0);
  EXPECT_EQ(gadget.TimerClient<Gadget>::GetPluginServices(), &services);
}

// A class still published when the services go: its subscriber hears of it during the
// destruction and finds the timer manager gone, not freed.
struct Watcher : PluginServicesClient {
  std::vector<std::int32_t> codes;
  bool timerManagerNotReady{false};
  bool messagingReachable{false};
};

std::int32_t WatchRemoval(MessageSubscription*, void* userData, std::int32_t, MessageClass*,
                          std::int32_t code, std::int32_t, void*) {
  auto* watcher = static_cast<Watcher*>(userData);
  watcher->codes.push_back(code);
  try {
    watcher->GetTimerManager();
  } catch (const PluginServices::PluginServicesNotReady&) {
    watcher->timerManagerNotReady = true;
  }
  watcher->GetMessagingServer();
  watcher->messagingReachable = true;
  return 0;
}

TEST(PluginServices, DestructionAnnouncesRemainingClassesWithoutTheTimerManager) {
  Watcher watcher;
  {
    auto* services = new PluginServices;
    watcher.AttachServices(services);
    MessagingServer& server = services->GetMessagingServer();
    MessageClass* cls = server.CreateMessageClass(7);
    server.Subscribe(cls, &WatchRemoval, &watcher, 0);
    delete services;
  }
  EXPECT_EQ(watcher.codes, std::vector<std::int32_t>{kMessageClassRemoved});
  EXPECT_TRUE(watcher.timerManagerNotReady);
  EXPECT_TRUE(watcher.messagingReachable);
}

}  // namespace
