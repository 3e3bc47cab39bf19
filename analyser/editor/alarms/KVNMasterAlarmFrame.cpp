#include "analyser/editor/alarms/KVNMasterAlarmFrame.h"

#include <algorithm>

#include "analyser/editor/alarms/MasterBar.h"
#include "analyser/engine/Korvane.h"
#include "analyser/engine/MeasurementIds.h"
#include "analyser/engine/alarms/KVNAlarmManager.h"
#include "analyser/resources/BitmapInventory.h"
#include "toolkit/controls/PixMapButton.h"
#include "toolkit/drawing/OGWorld.h"

namespace {
// The button has four states; the manager keeps trigger severities up to 4.
constexpr std::int32_t kHighestTriggerState = 3;

// The bar and the button, within the insets and placed for the standard height: the bar from its
// left margin to its right one, stretched; the button back from the right.
constexpr const bitmaps::Region& kBarRows = bitmaps::RegionNamed("master alarm rows");
constexpr Point kBarAt{9, 10};
constexpr std::int32_t kBarRightMargin = 49;
constexpr const bitmaps::Region& kTriggerButton = bitmaps::RegionNamed("master trigger button");
constexpr Point kButtonFromRight{37, 15};

constexpr const bitmaps::Region& kFill = bitmaps::RegionNamed("strip fill colour");
constexpr const bitmaps::Region& kOutline = bitmaps::RegionNamed("strip outline colour");

std::int32_t TriggerState(const AlarmRecord* master) {
  return master ? std::clamp(master->definition.groupTriggerSeverity, 0, kHighestTriggerState) : 0;
}
}  // namespace

void RegisterMasterAlarm(KVNAlarmManager& manager, const std::vector<std::string>& alarmNames) {
  AlarmDefinition definition;
  definition.comparison = AlarmDefinition::kAbove;
  definition.absolute = false;
  definition.severity = 3;
  definition.members = alarmNames;
  definition.groupMode = AlarmDefinition::kAnyMember;
  definition.groupTriggerSeverity = 1;
  manager.RegisterAlarm(MeasurementIds::kMasterAlarm, definition);
}

void KVNMasterAlarmNotificationFrame::Draw(DrawContext& context, const Rect&) {
  const OGWorld* world = GetPixMap();
  const AlarmRecord* master = GetAlarmManager().FindAlarm(MeasurementIds::kMasterAlarm);
  if (!world || !master) return;
  const std::int32_t severity = ClampAlarmSeverity(master->highestMemberSeverity);
  const Point row{GetOrigin().x + severity * GetStep().x, GetOrigin().y + severity * GetStep().y};
  context.ResetColors();
  masterbar::LayOut(GetWidth(), [&](const masterbar::Piece& piece) {
    context.CopyFromWorld(
        *world, Rect{row.x + piece.sourceX, row.y, row.x + piece.sourceX + piece.width, row.y + GetHeight()},
        Point{piece.destinationX, 0}, DrawContext::kKeepColors);
  });
}

KVNMasterAlarmFrame::KVNMasterAlarmFrame(Korvane* plugin, Frame* parent, std::int32_t x, std::int32_t y,
                                         std::int32_t width, const std::vector<std::string>& alarmNames,
                                         std::int32_t height, std::int32_t leftInset, std::int32_t rightInset)
    : PixMapDrawFrame(parent, x, y, width, height ? height : kStandardHeight, 0, 0, nullptr, 0, 0),
      MessageSubscriber<KVNMasterAlarmFrame>(plugin),
      mSprites(GetRoot(), bitmaps::kSprites),
      mAlarmManager(&plugin->GetAlarmManager()) {
  const std::int32_t shift = (kStandardHeight - GetHeight()) / 2;
  RegisterMasterAlarm(*mAlarmManager, alarmNames);
  const AlarmRecord* master = mAlarmManager->FindAlarm(MeasurementIds::kMasterAlarm);
  const std::int32_t barLeft = leftInset + kBarAt.x;
  const std::int32_t barRight = width - rightInset - kBarRightMargin;
  mNotification = new KVNMasterAlarmNotificationFrame(
      plugin, this, barLeft, kBarAt.y - shift, barRight - barLeft, kBarRows.height, kBarRows.x, kBarRows.y,
      mSprites.Get(), kBarRows.stepX, kBarRows.stepY, MeasurementIds::kMasterAlarm);
  const std::int32_t state = TriggerState(master);
  mTriggerButton = new MultiStateButton(
      this, width - rightInset - kButtonFromRight.x, kButtonFromRight.y - shift, kTriggerButton.width,
      kTriggerButton.height, kTriggerButton.stepX, kTriggerButton.stepY, kTriggerButton.x, kTriggerButton.y,
      mSprites.Get(), 0, 0, kHighestTriggerState, state, 0);
  mTriggerButton->SetValueQuiet(state);
  Subscribe(mTriggerButton->GetControlMsgClass(), 0, &KVNMasterAlarmFrame::OnTriggerButton);
  Subscribe(mAlarmManager->GetMessageClass(KVNAlarmManager::kAlarmMessageClass), 1,
            &KVNMasterAlarmFrame::OnAlarmMessage);
}

KVNMasterAlarmFrame::~KVNMasterAlarmFrame() { StopSubscriptions(); }

void KVNMasterAlarmFrame::Draw(DrawContext& context, const Rect&) {
  OGWorld* sprites = mSprites.Get();
  context.SetForeColor(sprites->GetPixelColor(Point{kFill.x, kFill.y}));
  context.FillRect(GetLocalRect());
  if (GetHeight() != kStandardHeight) return;
  context.SetForeColor(sprites->GetPixelColor(Point{kOutline.x, kOutline.y}));
  context.FrameRect(Rect{0, -1, GetWidth(), GetHeight() + 1});
}

std::int32_t KVNMasterAlarmFrame::OnTriggerButton(std::int32_t code) {
  if (code == GenericControl::kValueChanged)
    mAlarmManager->SetGroupTriggerSeverity(MeasurementIds::kMasterAlarm, mTriggerButton->GetValue());
  return 0;
}

// A trigger severity the button cannot show (4, from a loaded file) is shown as its highest state
// without a value message, so it is never written back.
std::int32_t KVNMasterAlarmFrame::OnAlarmMessage(std::int32_t code) {
  const auto* record = static_cast<const AlarmRecord*>(GetCurrentMessagePayload());
  if (code != KVNAlarmManager::kGroupTriggerSeveritySet || !record ||
      record->name != MeasurementIds::kMasterAlarm)
    return 0;
  const std::int32_t severity = record->definition.groupTriggerSeverity;
  if (severity > kHighestTriggerState || severity < 0)
    mTriggerButton->SetValueQuiet(TriggerState(record));
  else
    mTriggerButton->SetValue(severity);
  return 0;
}
