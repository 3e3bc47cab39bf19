#include "analyser/editor/main/EditorLayout.h"

#include "analyser/editor/alarms/KVNMasterAlarmFrame.h"
#include "analyser/editor/main/KorvaneGenericDrawFrame.h"
#include "analyser/editor/main/StripBackground.h"
#include "analyser/editor/panel/KorvanePhaseAndBalanceMeterFrame.h"
#include "analyser/engine/alarms/PhaseAndBalanceAlarms.h"
#include "analyser/resources/BitmapInventory.h"

using namespace editorlayout;

namespace {
constexpr Point kHeaderSource{0, 497};
}  // namespace

void BuildEditorLayout(Korvane& plugin, Frame* parent) {
  new KorvaneGenericDrawFrame(parent, 0, 0, kWidth, kHeaderHeight, kHeaderSource.x, kHeaderSource.y,
                              bitmaps::kPanel);
  new KorvanePhaseAndBalanceMeterFrame(&plugin, parent, 0, kPanelTop);
  new KVNMasterAlarmFrame(&plugin, parent, 0, kMasterAlarmTop, kWidth, PhaseAndBalanceAlarmNames(), 0, 30,
                          10);
  new StripBackground(parent, 0, kGlobalTop, kWidth, kGlobalHeight);
}
