#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/services/MessageSubscriber.h"
#include "toolkit/controls/PixMapButton.h"
#include "toolkit/editor/PixMapRef.h"

class Korvane;
class KVNAlarmManager;

// Where a severity button's images lie in the sprites, by picture kind and number of levels.
struct SeverityButtonPicture {
  std::int32_t width{0};
  std::int32_t height{0};
  Point origin{};
  Point step{};
  std::int32_t maximum{3};  // 3 for four levels, 4 for five
};
SeverityButtonPicture GetSeverityButtonPicture(std::int32_t pictureKind, bool fiveLevels);

// Steps the severity of one or more alarms through 0..3 (or 0..4) and wraps. It follows the
// first of its names (byte-wise order) and writes every one. Editor thread; its subscriptions
// end with it.
class KVNAlarmSeverityButton : public MultiStateButton, public MessageSubscriber<KVNAlarmSeverityButton> {
 public:
  KVNAlarmSeverityButton(Korvane* plugin, Frame* parent, std::int32_t x, std::int32_t y,
                         std::vector<std::string> alarmNames, bool fiveLevels, std::int32_t pictureKind);
  ~KVNAlarmSeverityButton() override;

  const std::vector<std::string>& GetAlarmNames() const { return mAlarmNames; }
  bool HasFiveLevels() const { return mFiveLevels; }

 private:
  std::int32_t OnValueChanged(std::int32_t code);
  std::int32_t OnAlarmMessage(std::int32_t code);

  std::vector<std::string> mAlarmNames{};
  KVNAlarmManager* mAlarmManager{nullptr};
  PixMapRef mSprites;
  bool mFiveLevels{false};
};
