#include "analyser/editor/alarms/KVNAlarmSeverityButton.h"

#include "analyser/editor/alarms/AlarmWidgetSupport.h"
#include "analyser/editor/main/InventoryPoints.h"
#include "analyser/engine/Korvane.h"
#include "analyser/engine/alarms/KVNAlarmManager.h"
#include "analyser/resources/BitmapInventory.h"

SeverityButtonPicture GetSeverityButtonPicture(std::int32_t pictureKind, bool fiveLevels) {
  static constexpr const bitmaps::Region& kFourLevels = bitmaps::RegionNamed("severity, four levels");
  static constexpr const bitmaps::Region& kFiveLevels = bitmaps::RegionNamed("severity, five levels");
  static constexpr const bitmaps::Region& kLarge = bitmaps::RegionNamed("severity, large");
  SeverityButtonPicture picture;
  picture.maximum = fiveLevels ? 4 : 3;
  const bitmaps::Region* cells = nullptr;
  if (pictureKind == 0)
    cells = fiveLevels ? &kFiveLevels : &kFourLevels;
  else if (pictureKind == 1)
    cells = &kLarge;
  if (cells) {
    picture.width = cells->width;
    picture.height = cells->height;
    picture.origin = OriginOf(*cells);
    picture.step = StepOf(*cells);
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
