#include "analyser/editor/main/EditorLayout.h"

#include "analyser/editor/alarms/KVNMasterAlarmFrame.h"
#include "analyser/editor/header/KVNGlobalFrame.h"
#include "analyser/editor/header/KVNHeaderFrame.h"
#include "analyser/editor/panel/KorvanePhaseAndBalanceMeterFrame.h"
#include "analyser/engine/alarms/PhaseAndBalanceAlarms.h"
#include "analyser/resources/BitmapInventory.h"

using namespace editorlayout;

namespace {
constexpr Point kHeaderSource{0, 497};
}  // namespace

void BuildEditorLayout(Korvane& plugin, Frame* parent) {
  new KVNHeaderFrame(&plugin, parent, 0, 0, kWidth, kHeaderSource.x, kHeaderSource.y, bitmaps::kPanel);
  new KorvanePhaseAndBalanceMeterFrame(&plugin, parent, 0, kPanelTop);
  new KVNMasterAlarmFrame(&plugin, parent, 0, kMasterAlarmTop, kWidth, PhaseAndBalanceAlarmNames(), 0, 30,
                          10);
  new KVNGlobalFrame(&plugin, parent, 0, kGlobalTop, kWidth, true);
}
