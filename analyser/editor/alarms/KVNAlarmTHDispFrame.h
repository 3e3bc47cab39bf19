#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/services/MessageSubscriber.h"
#include "toolkit/editor/PixMapRef.h"
#include "toolkit/frames/Frame.h"

class InstantActionButton;
class Korvane;
class KVNAlarmManager;
class StaticTextPMFrame;
struct AlarmRecord;

// The threshold of one or more alarms: a number (typed in place on a double click) and minus and
// plus buttons that step it and repeat while held. It shows the first of its names (byte-wise
// order) and writes every one; the manager clamps and announces. Editor thread; its
// subscriptions end with it.
class KVNAlarmTHDispFrame : public Frame, public MessageSubscriber<KVNAlarmTHDispFrame> {
 public:
  static constexpr std::int32_t kWidth = 55;
  static constexpr std::int32_t kHeight = 11;

  KVNAlarmTHDispFrame(Korvane* plugin, Frame* parent, std::int32_t x, std::int32_t y,
                      std::vector<std::string> alarmNames, std::int32_t precision, float step);
  ~KVNAlarmTHDispFrame() override;

  void SetThreshold(float value);
  void ShowThreshold(const AlarmRecord* record);

  StaticTextPMFrame& GetTextField() const { return *mText; }
  InstantActionButton& GetPlusButton() const { return *mPlus; }
  InstantActionButton& GetMinusButton() const { return *mMinus; }

 private:
  static constexpr std::int32_t kAlarmSubscription = 0;
  static constexpr std::int32_t kEditSubscription = 1;
  static constexpr std::int32_t kPlusSubscription = 2;
  static constexpr std::int32_t kMinusSubscription = 3;

  std::int32_t OnStepButton(std::int32_t code);
  std::int32_t OnTextEntered(std::int32_t code);
  std::int32_t OnAlarmMessage(std::int32_t code);

  PixMapRef mSprites;
  std::vector<std::string> mAlarmNames{};
  std::int32_t mPrecision{0};
  float mStep{0.0f};
  KVNAlarmManager* mAlarmManager{nullptr};
  StaticTextPMFrame* mText{nullptr};
  InstantActionButton* mPlus{nullptr};
  InstantActionButton* mMinus{nullptr};
};
