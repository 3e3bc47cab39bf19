#include "analyser/editor/alarms/KVNAlarmTHDispFrame.h"

#include "analyser/editor/alarms/AlarmWidgetSupport.h"
#include "analyser/editor/alarms/ThresholdText.h"
#include "analyser/editor/main/InventoryPoints.h"
#include "analyser/editor/values/KVNValueIncDecFrame.h"
#include "analyser/engine/Korvane.h"
#include "analyser/engine/alarms/KVNAlarmManager.h"
#include "analyser/resources/BitmapInventory.h"
#include "toolkit/controls/IncDecControlGroup.h"
#include "toolkit/controls/PixMapButton.h"
#include "toolkit/controls/TextFrame.h"
#include "toolkit/drawing/OGWorld.h"
#include "toolkit/frames/Redraw.h"

namespace {
// The threshold's text, then the stepper's arrows without their disabled images: minus, plus.
constexpr const bitmaps::Region& kText = bitmaps::RegionNamed("threshold text");
constexpr const bitmaps::Region& kTextColour = bitmaps::RegionNamed("threshold text colour");
constexpr const bitmaps::Region& kDisabledColour = bitmaps::RegionNamed("threshold text colour, disabled");
constexpr const bitmaps::Region& kMinus = bitmaps::RegionNamed("stepper previous");
constexpr const bitmaps::Region& kPlus = bitmaps::RegionNamed("stepper next");
constexpr Point kTextOffsets{4, 2};
static_assert(kText.width + kMinus.width + kPlus.width == KVNAlarmTHDispFrame::kWidth);
static_assert(kText.height == KVNAlarmTHDispFrame::kHeight);
}  // namespace

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
  const Color disabledColour = mSprites.Get()->GetPixelColor(OriginOf(kDisabledColour));
  const Color textColour = mSprites.Get()->GetPixelColor(OriginOf(kTextColour));

  mText = new StaticTextPMFrame(this, 0, 0, kText.width, kText.height, kText.x, kText.y, sprites, 0, 0);
  mText->SetFont(DrawContext::kSmallFont, kNoRedraw);
  mText->SetTextColor(textColour, kNoRedraw);
  mText->SetDisabledTextColor(disabledColour, kNoRedraw);
  mText->SetTextOffsets(kTextOffsets.x, kTextOffsets.y, kNoRedraw);
  mText->SetAlignment(TextFrame::kRight, kNoRedraw);
  mText->SetEditMode(TextFrame::kEditOnDoubleClick);
  Subscribe(mText->GetEditMsgClass(), kEditSubscription, &KVNAlarmTHDispFrame::OnTextEntered);

  mPlus = NewStepperArrow(this, kText.width + kMinus.width, kPlus, sprites);
  mMinus = NewStepperArrow(this, kText.width, kMinus, sprites);
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
