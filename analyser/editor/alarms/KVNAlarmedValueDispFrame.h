#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/services/MessageSubscriber.h"
#include "toolkit/controls/TextFrame.h"
#include "toolkit/editor/PixMapRef.h"

class Korvane;
class KVNAlarmManager;
class KVNTextConvertor;
struct AlarmRecord;

// The read-out of one alarm's value: the text over a cell that shows the alarm's state (its
// severity while triggered, else cell 0). Follows the alarm manager's messages, never polls. A
// press clears the alarm and, unless Shift alone is held, the alarms of the clear list.
// Editor thread; its subscriptions end with it.
class KVNAlarmedValueDispFrame : public StaticTextPMFrame,
                                 public MessageSubscriber<KVNAlarmedValueDispFrame> {
 public:
  static constexpr std::int32_t kWidth = 37;
  static constexpr std::int32_t kHeight = 11;

  // The convertor outlives the frame.
  KVNAlarmedValueDispFrame(Korvane* plugin, Frame* parent, std::int32_t x, std::int32_t y,
                           std::string alarmName, std::vector<std::string> clearList,
                           const KVNTextConvertor* convertor);
  ~KVNAlarmedValueDispFrame() override;

  void SetStatePicture(std::int32_t cell);
  void ShowValue(const AlarmRecord* record);
  void Mouse(std::int32_t kind, std::int32_t x, std::int32_t y) override;

 private:
  std::int32_t OnAlarmMessage(std::int32_t code);
  std::int32_t OnValueMessage(std::int32_t code);
  const AlarmRecord* OwnRecord() const;

  PixMapRef mSprites;
  KVNAlarmManager* mAlarmManager{nullptr};
  std::string mAlarmName{};
  std::vector<std::string> mClearList{};
  const KVNTextConvertor* mConvertor{nullptr};
};
