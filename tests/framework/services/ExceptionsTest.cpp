#include "framework/services/Exceptions.h"
#include "framework/services/MessagePublisher.h"
#include "framework/services/MessageSubscriber.h"
#include "framework/services/MessagingServer.h"
#include "framework/services/PluginServices.h"
#include "framework/services/ThrowSites.h"
#include "framework/services/TimerClient.h"
#include "framework/services/TimerManager.h"

#include "framework/services/FourCC.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>

namespace {

constexpr std::int32_t kPub = FourCC('p', 'u', 'b', ' ');
constexpr std::int32_t kNone = FourCC('n', 'o', 'n', 'e');

struct Widget : MessageSubscriber<Widget>, TimerClient<Widget> {
  explicit Widget(PluginServices* services)
      : MessageSubscriber<Widget>(services), TimerClient<Widget>(services, this) {}
  std::int32_t OnMessage(std::int32_t) { return 0; }
  void OnTimer() {}
};

struct NoServicesClient : PluginServicesClient {};

TEST(Exceptions, EveryThrowSiteRecordsItsRowOfTheTable) {
  PluginServices services;
  MessagePublisher publisher(&services);
  MessageClass* published = publisher.Publish(kPub);
  Widget widget(&services);
  widget.MessageSubscriber<Widget>::Subscribe(published, 1, &Widget::OnMessage);
  widget.AddTimer(TimerManager::kPeriodic, 1, &Widget::OnTimer, 1);
  MessagingServer foreignServer;
  MessageClass* foreign = foreignServer.CreateMessageClass(0);
  TimerManager foreignManager;
  TimerRecord* foreignTimer =
      foreignManager.CreateTimer([](TimerRecord*, std::int32_t, void*, std::int64_t) {}, 0, nullptr, 0, 0);
  NoServicesClient noServices;

  struct Site {
    const char* what;
    const AppFrame::ThrowSite& row;
    std::function<void()> fail;
  };
  const Site sites[] = {
      {"unpublish", ThrowSites::kUnpublish, [&] { publisher.Unpublish(kNone); }},
      {"get class", ThrowSites::kGetMessageClass, [&] { publisher.GetMessageClass(kNone); }},
      {"count", ThrowSites::kGetSubscriberCount, [&] { publisher.GetSubscriberCount(kNone); }},
      {"send", ThrowSites::kSendMessage, [&] { publisher.SendMessage(kNone, 0, 0); }},
      {"post", ThrowSites::kPostMessage, [&] { publisher.PostMessage(kNone, 0, 0); }},
      {"mute", ThrowSites::kMuteMessageClass, [&] { publisher.MuteMessageClass(kNone, true); }},
      {"remove class", ThrowSites::kRemoveMessageClass,
       [&] { services.GetMessagingServer().RemoveMessageClass(foreign); }},
      {"remove timer", ThrowSites::kRemoveTimer,
       [&] { services.GetTimerManager().RemoveTimer(foreignTimer); }},
      {"sub ref", ThrowSites::kSubscribe,
       [&] { widget.MessageSubscriber<Widget>::Subscribe(published, 1, &Widget::OnMessage); }},
      {"add timer", ThrowSites::kAddTimer,
       [&] { widget.AddTimer(TimerManager::kPeriodic, 1, &Widget::OnTimer, 1); }},
      {"restart", ThrowSites::kRestartTimer, [&] { widget.RestartTimer(9, 1); }},
      {"suspend", ThrowSites::kSuspendTimer, [&] { widget.SuspendTimer(9, true); }},
      {"client timers", ThrowSites::kNoTimerManager, [&] { noServices.GetTimerManager(); }},
      {"client messaging", ThrowSites::kNoMessagingServer, [&] { noServices.GetMessagingServer(); }},
  };
  for (const Site& site : sites) {
    SCOPED_TRACE(site.what);
    bool caught = false;
    try {
      site.fail();
    } catch (const AppFrame::Exception&) {
      caught = true;
    }
    ASSERT_TRUE(caught);
    const AppFrame::ThrowSite last = AppFrame::GetLastExceptionSite();
    ASSERT_NE(last.file, nullptr);
    EXPECT_EQ(last.file, site.row.file);
    EXPECT_EQ(last.line, site.row.line);
  }
  foreignManager.RemoveTimer(foreignTimer);
}

TEST(Exceptions, TypesAreTheNamedClassesOfTheFamily) {
  PluginServices services;
  MessagePublisher publisher(&services);
  EXPECT_THROW(publisher.SendMessage(kNone, 0, 0), MessagePublisher::BadMsgClassRef);
  EXPECT_THROW(publisher.SendMessage(kNone, 0, 0), AppFrame::BadParameter);
  Widget widget(&services);
  widget.AddTimer(TimerManager::kOneShot, 0, &Widget::OnTimer, 3);
  EXPECT_THROW(widget.AddTimer(TimerManager::kOneShot, 0, &Widget::OnTimer, 3),
               TimerClient<Widget>::BadTimerUserId);
  MessageClass* cls = publisher.Publish(kPub);
  widget.MessageSubscriber<Widget>::Subscribe(cls, 1, &Widget::OnMessage);
  EXPECT_THROW(widget.MessageSubscriber<Widget>::Subscribe(cls, 1, &Widget::OnMessage),
               AppFrame::BadParameter);
  NoServicesClient noServices;
  EXPECT_THROW(noServices.GetMessagingServer(), PluginServices::PluginServicesNotReady);
}

TEST(Exceptions, CopiesLeaveTheLastSiteAlone) {
  PluginServices services;
  MessagePublisher publisher(&services);
  try {
    publisher.SendMessage(kNone, 0, 0);
  } catch (const MessagePublisher::BadMsgClassRef& sent) {
    const AppFrame::ThrowSite sendSite = AppFrame::GetLastExceptionSite();
    const AppFrame::TimeOut other(&ThrowSites::kAudioPauseTimeOut);
    const AppFrame::ThrowSite otherSite = AppFrame::GetLastExceptionSite();
    EXPECT_NE(otherSite.line, sendSite.line);
    const MessagePublisher::BadMsgClassRef copy(sent);
    const AppFrame::TimeOut otherCopy(other);
    EXPECT_EQ(AppFrame::GetLastExceptionSite().line, otherSite.line);
    EXPECT_STREQ(AppFrame::GetLastExceptionSite().file, otherSite.file);
  }
}

TEST(Exceptions, VudExceptionIsARuntimeErrorCarryingItsText) {
  try {
    throw Vud::Exception("detail\nExpression 'x' failed");
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "detail\nExpression 'x' failed");
  }
}

}  // namespace
