#include "analyser/editor/alarms/KVNAlarmGroupNotificationFrame.h"

#include "analyser/editor/alarms/AlarmWidgetSupport.h"
#include "analyser/engine/Korvane.h"
#include "analyser/engine/alarms/KVNAlarmManager.h"
#include "analyser/resources/BitmapInventory.h"
#include "toolkit/frames/Redraw.h"

KVNAlarmGroupNotificationFrame::KVNAlarmGroupNotificationFrame(Korvane* plugin, Frame* parent, std::int32_t x,
                                                               std::int32_t y, std::int32_t width,
                                                               std::int32_t height, std::int32_t originX,
                                                               std::int32_t originY, const OGWorld* world,
                                                               std::int32_t stepX, std::int32_t stepY,
                                                               std::string alarmName)
    : PixMapDrawFrame(parent, x, y, width, height, originX, originY, world, 0, 0),
      MessageSubscriber<KVNAlarmGroupNotificationFrame>(plugin),
      mOrigin{originX, originY},
      mStep{stepX, stepY},
      mAlarmManager(&plugin->GetAlarmManager()),
      mAlarmName(std::move(alarmName)) {
  const AlarmRecord* record = mAlarmManager->FindAlarm(mAlarmName);
  SetStatePicture(record ? AlarmStateCell(*record) : 0);
  Subscribe(mAlarmManager->GetMessageClass(KVNAlarmManager::kAlarmMessageClass), 1,
            &KVNAlarmGroupNotificationFrame::OnAlarmMessage);
}

KVNAlarmGroupNotificationFrame::~KVNAlarmGroupNotificationFrame() { StopSubscriptions(); }

void KVNAlarmGroupNotificationFrame::SetStatePicture(std::int32_t cell) {
  mCell = ClampAlarmSeverity(cell);
  SetPixMap(GetPixMap(), mOrigin.x + mCell * mStep.x, mOrigin.y + mCell * mStep.y, kRedraw);
}

void KVNAlarmGroupNotificationFrame::SetPictureWorld(const OGWorld* world) {
  SetPixMap(world, mOrigin.x + mCell * mStep.x, mOrigin.y + mCell * mStep.y, kRedraw);
}

std::int32_t KVNAlarmGroupNotificationFrame::OnAlarmMessage(std::int32_t code) {
  const auto* record = static_cast<const AlarmRecord*>(GetCurrentMessagePayload());
  if (!record || record->name != mAlarmName) return 0;
  if (code == KVNAlarmManager::kSeveritySet || code == KVNAlarmManager::kCleared ||
      code == KVNAlarmManager::kTriggered)
    SetStatePicture(AlarmStateCell(*record));
  else if (code == KVNAlarmManager::kDeactivated)
    SetStatePicture(0);
  return 0;
}

void KVNAlarmGroupNotificationFrame::Mouse(std::int32_t kind, std::int32_t, std::int32_t) {
  if (kind != kMouseDown) return;
  if (IsShiftAlone(GetRoot()))
    mAlarmManager->ClearTriggeredMembers(mAlarmName);
  else
    mAlarmManager->ClearAlarm(mAlarmName);
}

namespace {
constexpr const bitmaps::Region& kStdCells = bitmaps::RegionNamed("group alarm cells");
}  // namespace

KVNStdAlarmGroupNotificationFrame::KVNStdAlarmGroupNotificationFrame(Korvane* plugin, Frame* parent,
                                                                     std::int32_t x, std::int32_t y,
                                                                     std::string alarmName)
    : KVNAlarmGroupNotificationFrame(plugin, parent, x, y, kStdCells.width, kStdCells.height, kStdCells.x,
                                     kStdCells.y, nullptr, kStdCells.stepX, kStdCells.stepY,
                                     std::move(alarmName)),
      mSprites(GetRoot(), bitmaps::kSprites) {
  SetPictureWorld(mSprites.Get());
}
