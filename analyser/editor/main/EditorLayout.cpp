#include "analyser/editor/main/EditorLayout.h"

#include "analyser/editor/alarms/KVNMasterAlarmFrame.h"
#include "analyser/editor/header/KVNGlobalFrame.h"
#include "analyser/editor/header/KVNHeaderFrame.h"
#include "analyser/editor/panel/KorvanePhaseAndBalanceMeterFrame.h"
#include "analyser/engine/alarms/PhaseAndBalanceAlarms.h"
#include "analyser/resources/BitmapInventory.h"

using namespace editorlayout;

namespace {
constexpr const bitmaps::Region& kHeaderPicture = bitmaps::RegionNamed("header");
// The master alarm's bar and button keep clear of the strip's ends by these.
constexpr std::int32_t kMasterLeftInset = 30;
constexpr std::int32_t kMasterRightInset = 10;

static_assert(kHeaderHeight == KVNHeaderFrame::kHeight && kGlobalHeight == KVNGlobalFrame::kHeight);
static_assert(kPanelHeight == KorvanePhaseAndBalanceMeterFrame::kHeight &&
              kWidth == KorvanePhaseAndBalanceMeterFrame::kWidth);
static_assert(kMasterAlarmHeight == KVNMasterAlarmFrame::kStandardHeight);
}  // namespace

// The strips top to bottom, each where the one above ends.
void BuildEditorLayout(Korvane& plugin, Frame* parent) {
  new KVNHeaderFrame(&plugin, parent, 0, 0, kWidth, kHeaderPicture.x, kHeaderPicture.y,
                     kHeaderPicture.bitmap);
  new KorvanePhaseAndBalanceMeterFrame(&plugin, parent, 0, kPanelTop);
  new KVNMasterAlarmFrame(&plugin, parent, 0, kMasterAlarmTop, kWidth, PhaseAndBalanceAlarmNames(),
                          KVNMasterAlarmFrame::kAskStandardHeight, kMasterLeftInset, kMasterRightInset);
  new KVNGlobalFrame(&plugin, parent, 0, kGlobalTop, kWidth, KVNGlobalFrame::kTopLineInside);
}
