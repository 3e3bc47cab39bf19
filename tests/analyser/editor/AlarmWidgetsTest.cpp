#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <locale>
#include <string>
#include <vector>

#include "analyser/editor/alarms/KVNAlarmGroupNotificationFrame.h"
#include "analyser/editor/alarms/KVNAlarmSeverityButton.h"
#include "analyser/editor/alarms/KVNAlarmTHDispFrame.h"
#include "analyser/editor/alarms/KVNAlarmedValueDispFrame.h"
#include "analyser/editor/alarms/KVNMasterAlarmFrame.h"
#include "analyser/editor/alarms/MasterBar.h"
#include "analyser/editor/alarms/ThresholdText.h"
#include "analyser/engine/MeasurementIds.h"
#include "framework/services/MessagingServer.h"
#include "tests/analyser/editor/support/PanelFixture.h"
#include "toolkit/controls/PixMapButton.h"
#include "toolkit/controls/TextFrame.h"

using namespace MeasurementIds;

namespace {

enum class Widget { kValueDisplay, kGroup, kMasterBar };
enum class Keys { kPlain, kShift, kControlShift };

Frame* WidgetFrame(PanelFixture& f, Widget widget) {
  switch (widget) {
    case Widget::kValueDisplay:
      return f.Find<KVNAlarmedValueDispFrame>(
          [](const KVNAlarmedValueDispFrame& d) { return d.GetX() == 245 && d.GetY() == 80; });
    case Widget::kGroup:
      return f.Find<KVNAlarmGroupNotificationFrame>(
          [](const KVNAlarmGroupNotificationFrame& g) { return g.GetAlarmName() == kAntiphaseSummary; });
    case Widget::kMasterBar:
      return f.Find<KVNMasterAlarmNotificationFrame>();
  }
  return nullptr;
}

// Counts one code on the manager's 'almM' class.
struct CodeCounter {
  CodeCounter(KVNAlarmManager& manager, std::int32_t code) : code(code) {
    MessageClass* alarms = manager.GetMessageClass(KVNAlarmManager::kAlarmMessageClass);
    server = &manager.GetMessagingServer();
    subscription = server->Subscribe(alarms, &Count, this, 0, nullptr);
    messageClass = alarms;
  }
  ~CodeCounter() { server->Unsubscribe(messageClass, subscription); }
  static std::int32_t Count(MessageSubscription*, void* self, std::int32_t, MessageClass*, std::int32_t code,
                            std::int32_t, void*) {
    auto* counter = static_cast<CodeCounter*>(self);
    if (code == counter->code) ++counter->count;
    return 0;
  }
  std::int32_t code{0};
  std::int32_t count{0};
  MessagingServer* server{nullptr};
  MessageClass* messageClass{nullptr};
  MessageSubscription* subscription{nullptr};
};

void Click(GraphicControl& control) {
  control.Mouse(Frame::kMouseDown, 2, 2);
  control.Mouse(Frame::kMouseUp, 2, 2);
}

}  // namespace

// The instantaneous correlation triggered, the average untriggered at 50: a plain press clears a
// group's every member (the average back to its initial 100), Shift alone only the triggered
// ones; Ctrl+Shift is no Shift alone; a release clears nothing.
TEST(AlarmClicks, EachWidgetClearsWhatItsModifiersSay) {
  struct Case {
    Widget widget;
    Keys keys;
    std::int32_t kind;
    bool instStillTriggered;
    float avgValue;
  };
  const Case cases[] = {
      {Widget::kValueDisplay, Keys::kPlain, Frame::kMouseDown, false, 50.0f},
      {Widget::kValueDisplay, Keys::kShift, Frame::kMouseDown, false, 50.0f},
      {Widget::kValueDisplay, Keys::kControlShift, Frame::kMouseDown, false, 50.0f},
      {Widget::kValueDisplay, Keys::kPlain, Frame::kMouseUp, true, 50.0f},
      {Widget::kGroup, Keys::kPlain, Frame::kMouseDown, false, 100.0f},
      {Widget::kGroup, Keys::kShift, Frame::kMouseDown, false, 50.0f},
      {Widget::kGroup, Keys::kControlShift, Frame::kMouseDown, false, 100.0f},
      {Widget::kGroup, Keys::kPlain, Frame::kMouseUp, true, 50.0f},
      {Widget::kMasterBar, Keys::kPlain, Frame::kMouseDown, false, 100.0f},
      {Widget::kMasterBar, Keys::kShift, Frame::kMouseDown, false, 50.0f},
      {Widget::kMasterBar, Keys::kControlShift, Frame::kMouseDown, false, 100.0f},
      {Widget::kMasterBar, Keys::kShift, Frame::kMouseUp, true, 50.0f},
  };
  for (const Case& c : cases) {
    PanelFixture f;
    SCOPED_TRACE(testing::Message() << int(c.widget) << " keys " << int(c.keys) << " kind " << c.kind);
    f.Alarms().UpdateValue(kCorrelationInst, -50.0f, true, false);
    f.Alarms().UpdateValue(kCorrelationAvg, 50.0f, true, false);
    ASSERT_TRUE(f.Triggered(kCorrelationInst));
    f.root.Keys().shift = c.keys != Keys::kPlain;
    f.root.Keys().control = c.keys == Keys::kControlShift;
    Frame* widget = WidgetFrame(f, c.widget);
    ASSERT_NE(widget, nullptr);
    widget->Mouse(c.kind, 3, 3);
    EXPECT_EQ(f.Triggered(kCorrelationInst), c.instStillTriggered);
    EXPECT_EQ(f.Alarms().GetValueByName(kCorrelationAvg), c.avgValue);
  }
}

TEST(AlarmValueDisplay, ShowsTheValueOverTheCellOfItsStateAndBlanksWhenDeactivated) {
  PanelFixture f;
  auto* display = static_cast<KVNAlarmedValueDispFrame*>(WidgetFrame(f, Widget::kValueDisplay));
  EXPECT_EQ(display->GetText(), "+100");
  EXPECT_EQ(display->GetBackgroundSource().y, 47);
  f.Alarms().UpdateValue(kCorrelationInst, -60.0f, false, false);
  EXPECT_EQ(display->GetText(), "-60");
  EXPECT_EQ(display->GetBackgroundSource().y, 47 + 4 * 12) << "severity 4, triggered";
  f.Alarms().SetActive(kCorrelationInst, false);
  EXPECT_EQ(display->GetText(), "");
  f.Alarms().SetActive(kCorrelationInst, true);
  EXPECT_EQ(display->GetText(), "") << "activation brings no value";
  f.Alarms().UpdateValue(kCorrelationInst, 20.0f, true, false);
  EXPECT_EQ(display->GetText(), "+20");
}

TEST(SeverityButton, ClicksStepEveryListedAlarmAndFollowOnlyTheFirst) {
  PanelFixture f;
  auto* five = f.Find<KVNAlarmSeverityButton>(
      [](const KVNAlarmSeverityButton& b) { return b.GetAlarmNames().front() == kCorrelationInst; });
  ASSERT_NE(five, nullptr);
  EXPECT_EQ(five->GetValue(), 4);
  std::vector<std::int32_t> written;
  for (int i = 0; i < 5; ++i) {
    Click(*five);
    written.push_back(f.Alarms().FindAlarm(kCorrelationInst)->severity);
  }
  EXPECT_EQ(written, (std::vector<std::int32_t>{0, 1, 2, 3, 4}));

  auto* four = f.Find<KVNAlarmSeverityButton>(
      [](const KVNAlarmSeverityButton& b) { return b.GetAlarmNames().front() == kBalanceLevel; });
  ASSERT_NE(four, nullptr);
  EXPECT_EQ(four->GetValue(), 2);
  f.Alarms().SetSeverity(kBalanceLevel, 4);
  EXPECT_EQ(four->GetValue(), 3) << "clamped to the button's highest state";
  EXPECT_EQ(f.Alarms().FindAlarm(kBalanceLevel)->severity, 3) << "and written back to the list";

  const SeverityButtonPicture large = GetSeverityButtonPicture(1, false);
  EXPECT_EQ(large.origin.x, 1);
  EXPECT_EQ(large.origin.y, 228);
  EXPECT_EQ(GetSeverityButtonPicture(0, true).origin.y, 156);
  EXPECT_EQ(GetSeverityButtonPicture(7, true).width, 0);
}

TEST(ThresholdText, FormatsEveryValueShortAndParsesInTheCLocale) {
  EXPECT_EQ(FormatThreshold(-25.0f, 0), "-25");
  EXPECT_EQ(FormatThreshold(6.0f, 1), "6.0");
  EXPECT_EQ(FormatThreshold(0.1f, 2), "0.10");
  EXPECT_EQ(FormatThreshold(0.1f, 3), "0");
  for (float odd : {3.0e38f, -3.0e38f, std::numeric_limits<float>::infinity(),
                    std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::denorm_min()})
    for (std::int32_t precision : {0, 1, 2}) {
      const std::string text = FormatThreshold(odd, precision);
      EXPECT_FALSE(text.empty()) << odd;
      EXPECT_LE(text.size(), 31u) << odd;
    }
  // A host with a comma-decimal locale changes nothing.
  const std::locale before = std::locale::global(std::locale("de_DE.utf8"));
  std::setlocale(LC_ALL, "de_DE.utf8");
  EXPECT_EQ(FormatThreshold(6.0f, 1), "6.0");
  EXPECT_EQ(ParseThreshold("5,5"), 5.5f);
  EXPECT_EQ(ParseThreshold("5.5"), 5.5f);
  EXPECT_EQ(ParseThreshold("abc"), 0.0f);
  EXPECT_EQ(ParseThreshold("-12.5dB"), -12.5f);
  EXPECT_EQ(ParseThreshold(""), 0.0f);
  std::locale::global(before);
  std::setlocale(LC_ALL, "C");
}

TEST(ThresholdDisplay, ButtonsStepAndTypedTextSetsEveryListedAlarm) {
  PanelFixture f;
  auto* display = f.Find<KVNAlarmTHDispFrame>([](const KVNAlarmTHDispFrame& d) { return d.GetX() == 318; });
  ASSERT_NE(display, nullptr);
  EXPECT_EQ(display->GetTextField().GetText(), "-20.0");
  Click(display->GetPlusButton());
  EXPECT_EQ(f.Alarms().GetThresholdByName(kSideToMidRatio), -19.0f);
  EXPECT_EQ(display->GetTextField().GetText(), "-19.0");
  display->SetThreshold(0.0f);
  Click(display->GetPlusButton());
  EXPECT_EQ(display->GetTextField().GetText(), "0.0") << "clamped to the maximum";

  const std::string typed = "-7,5 dB";
  TextFrame::EnteredText entered{&display->GetTextField(), &typed};
  static_cast<PluginServices&>(f.plugin).GetMessagingServer().Send(
      display->GetTextField().GetEditMsgClass(), TextFrame::kEditEntered, 0, &entered, nullptr);
  EXPECT_EQ(f.Alarms().GetThresholdByName(kSideToMidRatio), -7.5f);
}

TEST(MasterAlarm, TheTriggerButtonEchoesOnceAndShowsALoadedFourWithoutWritingItBack) {
  PanelFixture f;
  auto* strip = f.Find<KVNMasterAlarmFrame>();
  ASSERT_NE(strip, nullptr);
  MultiStateButton& button = strip->GetTriggerButton();
  EXPECT_EQ(button.GetValue(), 1);
  std::vector<std::int32_t> clicks;
  for (int i = 0; i < 4; ++i) {
    Click(button);
    clicks.push_back(f.Alarms().FindAlarm(kMasterAlarm)->definition.groupTriggerSeverity);
  }
  EXPECT_EQ(clicks, (std::vector<std::int32_t>{2, 3, 0, 1}));

  CodeCounter gtsc(f.Alarms(), KVNAlarmManager::kGroupTriggerSeveritySet);
  f.Alarms().SetGroupTriggerSeverity(kMasterAlarm, 2);
  EXPECT_EQ(button.GetValue(), 2);
  EXPECT_EQ(gtsc.count, 2) << "the change and one write-back";

  gtsc.count = 0;
  f.Alarms().SetGroupTriggerSeverity(kMasterAlarm, 4);
  EXPECT_EQ(button.GetValue(), 3);
  EXPECT_EQ(gtsc.count, 1) << "nothing written back";
  EXPECT_EQ(f.Alarms().FindAlarm(kMasterAlarm)->definition.groupTriggerSeverity, 4);

  // Saved, and loaded into another editor, the 4 is still there.
  const std::string text = f.plugin.LiveSettingsText();
  PanelFixture other;
  ASSERT_TRUE(other.plugin.ApplySettingsText(text));
  EXPECT_EQ(other.Alarms().FindAlarm(kMasterAlarm)->definition.groupTriggerSeverity, 4);
  EXPECT_EQ(other.Find<KVNMasterAlarmFrame>()->GetTriggerButton().GetValue(), 3);
}

namespace {
std::vector<masterbar::Piece> Pieces(std::int32_t width) {
  std::vector<masterbar::Piece> pieces;
  masterbar::LayOut(width, [&](const masterbar::Piece& piece) { pieces.push_back(piece); });
  return pieces;
}
}  // namespace

TEST(MasterAlarm, TheBarIsCapsAMiddleOfTwentyPixelPiecesAndACentredLabel) {
  const auto narrow = Pieces(14);
  ASSERT_EQ(narrow.size(), 3u) << "two caps and the label";
  EXPECT_EQ(narrow[1].destinationX, 6);
  const auto pieces = Pieces(61);
  ASSERT_EQ(pieces.size(), 6u);
  EXPECT_EQ(pieces[2].width, 20);
  EXPECT_EQ(pieces[3].width, 20);
  EXPECT_EQ(pieces[4].width, 5);
  EXPECT_EQ(pieces[4].destinationX, 48);
  EXPECT_EQ(pieces[5].destinationX, 61 / 2 - 44);

  PanelFixture f;
  KVNMasterAlarmNotificationFrame* bar = f.Find<KVNMasterAlarmNotificationFrame>();
  EXPECT_EQ(bar->GetX(), 39);
  EXPECT_EQ(bar->GetWidth(), 399 - 30 - 10 - 58);
  f.root.Flush();
  const std::uint32_t quiet = f.root.Pixel(39 + 20, 393 + 10 + 10);
  f.Alarms().UpdateValue(kBalanceLevel, 12.0f, false, false);
  f.root.Flush();
  EXPECT_NE(f.root.Pixel(39 + 20, 393 + 10 + 10), quiet) << "row 2 once the balance alarm counts";
}
