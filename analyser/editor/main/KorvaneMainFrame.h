#pragma once

#include <cstdint>

#include "analyser/editor/main/EditorLayout.h"
#include "framework/services/TimerClient.h"
#include "toolkit/frames/PixMapDrawFrame.h"

class KorvaneEditorCommon;
class KVNAlarmManager;

// The root of the analyser's editor: a frame of the editor's size with no picture of its own,
// holding the four strips. Editor thread.
class KorvaneMainFrame : public PixMapDrawFrame, public TimerClient<KorvaneMainFrame> {
 public:
  KorvaneMainFrame(Korvane* plugin, KorvaneEditorCommon* common, Frame* parent, std::int32_t x,
                   std::int32_t y);

  // The same in every channel configuration.
  static EditorLayoutSize GetEditorSize(bool mono);

 private:
  KVNAlarmManager* mAlarmManager{nullptr};
};
