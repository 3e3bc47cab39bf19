#pragma once

#include <cstdint>
#include <string>

#include "framework/services/MessageSubscriber.h"
#include "toolkit/editor/PixMapRef.h"
#include "toolkit/frames/PixMapDrawFrame.h"

class Korvane;
class KVNAlarmManager;

// A picture of one (group) alarm's state: cell n of a strip, n its severity while triggered, else
// 0. A press acknowledges: it clears the group's members, or with Shift alone only those that are
// triggered. Editor thread; its subscriptions end with it.
class KVNAlarmGroupNotificationFrame : public PixMapDrawFrame,
                                       public MessageSubscriber<KVNAlarmGroupNotificationFrame> {
 public:
  // Cell n is the frame-sized rectangle at origin + n * step of the world.
  KVNAlarmGroupNotificationFrame(Korvane* plugin, Frame* parent, std::int32_t x, std::int32_t y,
                                 std::int32_t width, std::int32_t height, std::int32_t originX,
                                 std::int32_t originY, const OGWorld* world, std::int32_t stepX,
                                 std::int32_t stepY, std::string alarmName);
  ~KVNAlarmGroupNotificationFrame() override;

  void SetStatePicture(std::int32_t cell);
  void Mouse(std::int32_t kind, std::int32_t x, std::int32_t y) override;

  std::int32_t GetCell() const { return mCell; }
  const std::string& GetAlarmName() const { return mAlarmName; }

 protected:
  // Shows the current cell from another world.
  void SetPictureWorld(const OGWorld* world);
  KVNAlarmManager& GetAlarmManager() const { return *mAlarmManager; }
  Point GetOrigin() const { return mOrigin; }
  Point GetStep() const { return mStep; }

 private:
  std::int32_t OnAlarmMessage(std::int32_t code);

  Point mOrigin{};
  Point mStep{};
  std::int32_t mCell{0};
  KVNAlarmManager* mAlarmManager{nullptr};
  std::string mAlarmName{};
};

// The standard look: 72 x 9, cell 0 at (4, 198) of the sprites, cells side by side.
class KVNStdAlarmGroupNotificationFrame : public KVNAlarmGroupNotificationFrame {
 public:
  KVNStdAlarmGroupNotificationFrame(Korvane* plugin, Frame* parent, std::int32_t x, std::int32_t y,
                                    std::string alarmName);

 private:
  PixMapRef mSprites;
};
