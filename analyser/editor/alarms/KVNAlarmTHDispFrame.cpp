#include "analyser/editor/alarms/KVNAlarmTHDispFrame.h"

#include "analyser/editor/alarms/AlarmWidgetSupport.h"
#include "analyser/editor/alarms/ThresholdText.h"
#include "analyser/engine/Korvane.h"
#include "analyser/engine/alarms/KVNAlarmManager.h"
#include "analyser/resources/BitmapInventory.h"
#include "toolkit/controls/IncDecControlGroup.h"
#include "toolkit/controls/PixMapButton.h"
#include "toolkit/controls/TextFrame.h"
#include "toolkit/drawing/OGWorld.h"
#include "toolkit/frames/Redraw.h"

KVNAlarmTHDispFrame::KVNAlarmTHDispFrame(Korvane* plugin, Frame* parent, std::int32_t x, std::int32_t y,
                                         std::vector<std::string> alarmNames, std::int32_t precision,
                                         float step)
    : Frame(parent, x, y, kWidth, kHeight, 0, 0),
      MessageSubscriber<KVNAlarmTHDispFrame>(plugin),
      mSprites(GetRoot(), bitmaps::kSprites),
      mAlarmNames(SortedAlarmNames(std::move(alarmNames))),
      mPrecision(precision),
      mStep(step),
      mAlarmManager(&plugin->GetAlarmManager()) {
  const OGWorld* sprites = mSprites.Get();
  const Color disabledColour = mSprites.Get()->GetPixelColor(Point{198, 54});
  const Color textColour = mSprites.Get()->GetPixelColor(Point{198, 44});

  mText = new StaticTextPMFrame(this, 0, 0, 36, 11, 1, 17, sprites, 0, 0);
  mText->SetFont(DrawContext::kSmallFont, kNoRedraw);
  mText->SetTextColor(textColour, kNoRedraw);
  mText->SetDisabledTextColor(disabledColour, kNoRedraw);
  mText->SetTextOffsets(4, 2, kNoRedraw);
  mText->SetAlignment(TextFrame::kRight, kNoRedraw);
  mText->SetEditMode(TextFrame::kEditOnDoubleClick);
  Subscribe(mText->GetEditMsgClass(), kEditSubscription, &KVNAlarmTHDispFrame::OnTextEntered);

  mPlus = new InstantActionButton(this, 46, 0, 9, 11, 20, 0, 11, 1, sprites, 0, 0);
  mMinus = new InstantActionButton(this, 36, 0, 10, 11, 20, 0, 1, 1, sprites, 0, 0);
  Subscribe(mPlus->GetControlMsgClass(), kPlusSubscription, &KVNAlarmTHDispFrame::OnStepButton);
  Subscribe(mMinus->GetControlMsgClass(), kMinusSubscription, &KVNAlarmTHDispFrame::OnStepButton);
  IncDecControlGroup::Create(plugin, mPlus, mMinus, nullptr);

  if (!mAlarmNames.empty()) ShowThreshold(mAlarmManager->FindAlarm(mAlarmNames.front()));
  Subscribe(mAlarmManager->GetMessageClass(KVNAlarmManager::kAlarmMessageClass), kAlarmSubscription,
            &KVNAlarmTHDispFrame::OnAlarmMessage);
}

KVNAlarmTHDispFrame::~KVNAlarmTHDispFrame() { StopSubscriptions(); }

void KVNAlarmTHDispFrame::SetThreshold(float value) {
  for (const std::string& name : mAlarmNames) mAlarmManager->SetThreshold(name, value);
}

void KVNAlarmTHDispFrame::ShowThreshold(const AlarmRecord* record) {
  if (record) mText->SetText(FormatThreshold(record->definition.threshold, mPrecision), kRedraw);
}

std::int32_t KVNAlarmTHDispFrame::OnStepButton(std::int32_t code) {
  if (code != GenericControl::kValueChanged || mAlarmNames.empty()) return 0;
  const AlarmRecord* record = mAlarmManager->FindAlarm(mAlarmNames.front());
  if (!record) return 0;
  const float threshold = record->definition.threshold;
  SetThreshold(GetCurrentSubscriptionValue() == kPlusSubscription ? threshold + mStep : threshold - mStep);
  return 0;
}

std::int32_t KVNAlarmTHDispFrame::OnTextEntered(std::int32_t code) {
  const auto* entered = static_cast<const TextFrame::EnteredText*>(GetCurrentMessagePayload());
  if (code != TextFrame::kEditEntered || !entered || !entered->text) return 0;
  SetThreshold(ParseThreshold(*entered->text));
  return 0;
}

std::int32_t KVNAlarmTHDispFrame::OnAlarmMessage(std::int32_t code) {
  const auto* record = static_cast<const AlarmRecord*>(GetCurrentMessagePayload());
  if (code == KVNAlarmManager::kThresholdSet && record && !mAlarmNames.empty() &&
      record->name == mAlarmNames.front())
    ShowThreshold(record);
  return 0;
}
