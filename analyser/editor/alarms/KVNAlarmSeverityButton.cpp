#include "analyser/editor/alarms/KVNAlarmSeverityButton.h"

#include "analyser/editor/alarms/AlarmWidgetSupport.h"
#include "analyser/engine/Korvane.h"
#include "analyser/engine/alarms/KVNAlarmManager.h"
#include "analyser/resources/BitmapInventory.h"

SeverityButtonPicture GetSeverityButtonPicture(std::int32_t pictureKind, bool fiveLevels) {
  SeverityButtonPicture picture;
  picture.maximum = fiveLevels ? 4 : 3;
  if (pictureKind == 0) {
    picture.width = picture.height = 10;
    picture.origin = fiveLevels ? Point{2, 156} : Point{2, 114};
    picture.step = Point{13, 0};
  } else if (pictureKind == 1) {
    picture.width = picture.height = 10;
    picture.origin = Point{1, 228};
    picture.step = Point{11, 0};
  }
  return picture;
}

namespace {
SeverityButtonPicture Picture(std::int32_t kind, bool five) { return GetSeverityButtonPicture(kind, five); }
}  // namespace

KVNAlarmSeverityButton::KVNAlarmSeverityButton(Korvane* plugin, Frame* parent, std::int32_t x, std::int32_t y,
                                               std::vector<std::string> alarmNames, bool fiveLevels,
                                               std::int32_t pictureKind)
    : MultiStateButton(parent, x, y, Picture(pictureKind, fiveLevels).width,
                       Picture(pictureKind, fiveLevels).height, Picture(pictureKind, fiveLevels).step.x,
                       Picture(pictureKind, fiveLevels).step.y, Picture(pictureKind, fiveLevels).origin.x,
                       Picture(pictureKind, fiveLevels).origin.y, nullptr, 0, 0,
                       Picture(pictureKind, fiveLevels).maximum, 0, 0),
      MessageSubscriber<KVNAlarmSeverityButton>(plugin),
      mAlarmNames(SortedAlarmNames(std::move(alarmNames))),
      mAlarmManager(&plugin->GetAlarmManager()),
      mSprites(GetRoot(), bitmaps::kSprites),
      mFiveLevels(fiveLevels) {
  SetPixMap(mSprites.Get());
  if (!mAlarmNames.empty())
    if (const AlarmRecord* record = mAlarmManager->FindAlarm(mAlarmNames.front()))
      SetValueQuiet(record->severity);
  Subscribe(mAlarmManager->GetMessageClass(KVNAlarmManager::kAlarmMessageClass), 0,
            &KVNAlarmSeverityButton::OnAlarmMessage);
  Subscribe(GetControlMsgClass(), 1, &KVNAlarmSeverityButton::OnValueChanged);
}

KVNAlarmSeverityButton::~KVNAlarmSeverityButton() { StopSubscriptions(); }

std::int32_t KVNAlarmSeverityButton::OnValueChanged(std::int32_t code) {
  if (code != kValueChanged) return 0;
  for (const std::string& name : mAlarmNames) mAlarmManager->SetSeverity(name, GetValue());
  return 0;
}

std::int32_t KVNAlarmSeverityButton::OnAlarmMessage(std::int32_t code) {
  const auto* record = static_cast<const AlarmRecord*>(GetCurrentMessagePayload());
  if (code != KVNAlarmManager::kSeveritySet || !record || mAlarmNames.empty() ||
      record->name != mAlarmNames.front())
    return 0;
  SetValue(record->severity);
  return 0;
}
