#include "framework/services/Exceptions.h"
#include "framework/services/MessagePublisher.h"
#include "framework/services/MessageSubscriber.h"
#include "framework/services/MessagingServer.h"
#include "framework/services/PluginServices.h"
#include "framework/services/TimerClient.h"
#include "framework/services/TimerManager.h"

#include "vst2/Vst2Interface.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <string>

namespace {

constexpr std::int32_t kPub = vst2::FourCC('p', 'u', 'b', ' ');
constexpr std::int32_t kNone = vst2::FourCC('n', 'o', 'n', 'e');

bool EndsWith(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

struct Widget : MessageSubscriber<Widget>, TimerClient<Widget> {
  explicit Widget(PluginServices* services)
      : MessageSubscriber<Widget>(services), TimerClient<Widget>(services, this) {}
  std::int32_t OnMessage(std::int32_t) { return 0; }
  void OnTimer() {}
};

struct NoServicesClient : PluginServicesClient {};

TEST(Exceptions, EveryThrowSiteRecordsItsOwnFileAndLine) {
  PluginServices services;
  MessagePublisher publisher(&services);
  MessageClass* published = publisher.Publish(kPub);
  Widget widget(&services);
  widget.MessageSubscriber<Widget>::Subscribe(published, 1, &Widget::OnMessage);
  widget.AddTimer(TimerManager::kPeriodic, 1, &Widget::OnTimer, 1);
  MessagingServer foreignServer;
  MessageClass* foreign = foreignServer.CreateMessageClass(0);
  TimerManager foreignManager;
  TimerRecord* foreignTimer = foreignManager.CreateTimer(
      [](TimerRecord*, std::int32_t, void*, std::int64_t) {}, 0, nullptr, 0, 0);
  NoServicesClient noServices;

  struct Site {
    const char* what;
    const char* file;
    std::function<void()> fail;
  };
  const Site sites[] = {
      {"unpublish", "framework/services/MessagePublisher.cpp", [&] { publisher.Unpublish(kNone); }},
      {"get class", "framework/services/MessagePublisher.cpp", [&] { publisher.GetMessageClass(kNone); }},
      {"count", "framework/services/MessagePublisher.cpp", [&] { publisher.GetSubscriberCount(kNone); }},
      {"send", "framework/services/MessagePublisher.cpp", [&] { publisher.SendMessage(kNone, 0, 0); }},
      {"post", "framework/services/MessagePublisher.cpp", [&] { publisher.PostMessage(kNone, 0, 0); }},
      {"mute", "framework/services/MessagePublisher.cpp", [&] { publisher.MuteMessageClass(kNone, true); }},
      {"remove class", "framework/services/MessagingServer.cpp",
       [&] { services.GetMessagingServer().RemoveMessageClass(foreign); }},
      {"remove timer", "framework/services/TimerManager.cpp",
       [&] { services.GetTimerManager().RemoveTimer(foreignTimer); }},
      {"sub ref", "framework/services/MessageSubscriber.h",
       [&] { widget.MessageSubscriber<Widget>::Subscribe(published, 1, &Widget::OnMessage); }},
      {"add timer", "framework/services/TimerClient.h",
       [&] { widget.AddTimer(TimerManager::kPeriodic, 1, &Widget::OnTimer, 1); }},
      {"restart", "framework/services/TimerClient.h", [&] { widget.RestartTimer(9, 1); }},
      {"suspend", "framework/services/TimerClient.h", [&] { widget.SuspendTimer(9, true); }},
      {"client timers", "framework/services/PluginServicesClient.cpp",
       [&] { noServices.GetTimerManager(); }},
      {"client messaging", "framework/services/PluginServicesClient.cpp",
       [&] { noServices.GetMessagingServer(); }},
  };
  std::set<std::pair<std::string, int>> seen;
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
    EXPECT_TRUE(EndsWith(last.file, site.file)) << last.file;
    EXPECT_GT(last.line, 0);
    EXPECT_TRUE(seen.emplace(last.file, last.line).second) << "site shared: " << last.line;
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
    const AppFrame::TimeOut other(APPFRAME_THROW_SITE);
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
