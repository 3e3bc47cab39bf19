#include "analyser/editor/alarms/KVNAlarmedValueDispFrame.h"

#include "analyser/editor/alarms/AlarmWidgetSupport.h"
#include "analyser/editor/main/InventoryPoints.h"
#include "analyser/editor/values/KVNTextConvertor.h"
#include "analyser/engine/Korvane.h"
#include "analyser/engine/alarms/KVNAlarmManager.h"
#include "analyser/resources/BitmapInventory.h"
#include "toolkit/drawing/OGWorld.h"
#include "toolkit/frames/Redraw.h"

namespace {
constexpr const bitmaps::Region& kCells = bitmaps::RegionNamed("alarmed value cells");
constexpr Point kCellOrigin = OriginOf(kCells);
constexpr Point kCellStep = StepOf(kCells);
constexpr Point kTextColour = OriginOf(bitmaps::RegionNamed("value text colour"));
constexpr Point kDisabledTextColour = OriginOf(bitmaps::RegionNamed("value text colour, disabled"));
constexpr Point kTextOffsets{4, 2};
static_assert(kCells.width == KVNAlarmedValueDispFrame::kWidth &&
              kCells.height == KVNAlarmedValueDispFrame::kHeight);
}  // namespace

KVNAlarmedValueDispFrame::KVNAlarmedValueDispFrame(Korvane* plugin, Frame* parent, std::int32_t x,
                                                   std::int32_t y, std::string alarmName,
                                                   std::vector<std::string> clearList,
                                                   const KVNTextConvertor* convertor)
    : StaticTextPMFrame(parent, x, y, kWidth, kHeight, kCellOrigin.x, kCellOrigin.y, nullptr, 0, 0),
      MessageSubscriber<KVNAlarmedValueDispFrame>(plugin),
      mSprites(GetRoot(), bitmaps::kSprites),
      mAlarmManager(&plugin->GetAlarmManager()),
      mAlarmName(std::move(alarmName)),
      mClearList(std::move(clearList)),
      mConvertor(convertor) {
  SetPixMap(mSprites.Get());
  SetFont(DrawContext::kSmallFont, kNoRedraw);
  SetTextColor(mSprites.Get()->GetPixelColor(kTextColour), kNoRedraw);
  SetDisabledTextColor(mSprites.Get()->GetPixelColor(kDisabledTextColour), kNoRedraw);
  SetTextOffsets(kTextOffsets.x, kTextOffsets.y, kNoRedraw);
  SetAlignment(kRight, kNoRedraw);
  if (const AlarmRecord* record = mAlarmManager->FindAlarm(mAlarmName)) {
    SetStatePicture(AlarmStateCell(*record));
    if (record->active)
      ShowValue(record);
    else
      SetText("", kRedraw);
  } else {
    SetStatePicture(0);
    SetText("", kRedraw);
  }
  Subscribe(mAlarmManager->GetMessageClass(KVNAlarmManager::kAlarmMessageClass), 1,
            &KVNAlarmedValueDispFrame::OnAlarmMessage);
  Subscribe(mAlarmManager->GetMessageClass(KVNAlarmManager::kValueMessageClass), 0,
            &KVNAlarmedValueDispFrame::OnValueMessage);
}

KVNAlarmedValueDispFrame::~KVNAlarmedValueDispFrame() { StopSubscriptions(); }

void KVNAlarmedValueDispFrame::SetStatePicture(std::int32_t cell) {
  const std::int32_t n = ClampAlarmSeverity(cell);
  SetBackgroundSource(Point{kCellOrigin.x + n * kCellStep.x, kCellOrigin.y + n * kCellStep.y});
  Redraw(nullptr, true);
}

void KVNAlarmedValueDispFrame::ShowValue(const AlarmRecord* record) {
  if (!record || !mConvertor) return;
  SetText(mConvertor->Convert(record->value).c_str(), kRedraw);
}

const AlarmRecord* KVNAlarmedValueDispFrame::OwnRecord() const {
  const auto* record = static_cast<const AlarmRecord*>(GetCurrentMessagePayload());
  return record && record->name == mAlarmName ? record : nullptr;
}

std::int32_t KVNAlarmedValueDispFrame::OnValueMessage(std::int32_t code) {
  if (code == KVNAlarmManager::kNewValue) ShowValue(OwnRecord());
  return 0;
}

std::int32_t KVNAlarmedValueDispFrame::OnAlarmMessage(std::int32_t code) {
  const AlarmRecord* record = OwnRecord();
  if (!record) return 0;
  if (code == KVNAlarmManager::kSeveritySet || code == KVNAlarmManager::kCleared ||
      code == KVNAlarmManager::kTriggered)
    SetStatePicture(AlarmStateCell(*record));
  else if (code == KVNAlarmManager::kDeactivated)
    SetText("", kRedraw);
  return 0;
}

void KVNAlarmedValueDispFrame::Mouse(std::int32_t kind, std::int32_t, std::int32_t) {
  if (kind != kMouseDown) return;
  mAlarmManager->ClearAlarm(mAlarmName);
  if (IsShiftAlone(GetRoot())) return;
  for (const std::string& name : mClearList) mAlarmManager->ClearAlarm(name);
}
