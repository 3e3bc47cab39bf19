#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "analyser/editor/alarms/KVNAlarmGroupNotificationFrame.h"
#include "framework/services/MessageSubscriber.h"
#include "toolkit/editor/PixMapRef.h"
#include "toolkit/frames/PixMapDrawFrame.h"

class KVNAlarmManager;
class MultiStateButton;

// Registers "global.master_alarm": a group over the names that triggers when any member it counts
// is triggered, counting severities from 1.
void RegisterMasterAlarm(KVNAlarmManager& manager, const std::vector<std::string>& alarmNames);

// The master alarm's bar: a picture row chosen by the highest severity among the triggered
// members it counts, stretched to any width. Clicks as the group notification's.
class KVNMasterAlarmNotificationFrame : public KVNAlarmGroupNotificationFrame {
 public:
  using KVNAlarmGroupNotificationFrame::KVNAlarmGroupNotificationFrame;

  void Draw(DrawContext& context, const Rect& area) override;
};

// The strip below the panel: owns the master alarm, shows its bar and a four-state button for
// the severities the master counts. Editor thread; its subscriptions end with it.
class KVNMasterAlarmFrame : public PixMapDrawFrame, public MessageSubscriber<KVNMasterAlarmFrame> {
 public:
  static constexpr std::int32_t kStandardHeight = 41;

  // height kAskStandardHeight (0): the standard height.
  static constexpr std::int32_t kAskStandardHeight = 0;
  KVNMasterAlarmFrame(Korvane* plugin, Frame* parent, std::int32_t x, std::int32_t y, std::int32_t width,
                      const std::vector<std::string>& alarmNames, std::int32_t height, std::int32_t leftInset,
                      std::int32_t rightInset);
  ~KVNMasterAlarmFrame() override;

  // The strip stays enabled.
  void SetEnabled(bool) override {}
  void Draw(DrawContext& context, const Rect& area) override;

  KVNMasterAlarmNotificationFrame& GetNotification() const { return *mNotification; }
  MultiStateButton& GetTriggerButton() const { return *mTriggerButton; }

 private:
  std::int32_t OnTriggerButton(std::int32_t code);
  std::int32_t OnAlarmMessage(std::int32_t code);

  PixMapRef mSprites;
  KVNAlarmManager* mAlarmManager{nullptr};
  KVNMasterAlarmNotificationFrame* mNotification{nullptr};
  MultiStateButton* mTriggerButton{nullptr};
};

constexpr std::int32_t GetMasterAlarmFrameHeight() { return KVNMasterAlarmFrame::kStandardHeight; }
