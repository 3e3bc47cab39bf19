#include "analyser/editor/main/KorvaneMainFrame.h"

#include "analyser/engine/Korvane.h"

KorvaneMainFrame::KorvaneMainFrame(Korvane* plugin, KorvaneEditorCommon*, Frame* parent, std::int32_t x,
                                   std::int32_t y)
    : PixMapDrawFrame(parent, x, y, GetEditorLayoutSize().width, GetEditorLayoutSize().height, 0, 0, nullptr,
                      0, 0),
      TimerClient<KorvaneMainFrame>(plugin, this),
      mAlarmManager(&plugin->GetAlarmManager()) {
  BuildEditorLayout(*plugin, this);
}

EditorLayoutSize KorvaneMainFrame::GetEditorSize(bool) { return GetEditorLayoutSize(); }
