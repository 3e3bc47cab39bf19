#include "analyser/editor/main/EditorLayout.h"

#include "analyser/editor/main/KorvaneGenericDrawFrame.h"
#include "analyser/editor/main/StripBackground.h"
#include "analyser/editor/meters/KVNPhaseCorrelationMeterFrame.h"
#include "analyser/editor/meters/KorvaneBalanceMeterFrame.h"
#include "analyser/editor/scope/KorvanePhaseFrame.h"
#include "analyser/resources/BitmapInventory.h"

using namespace editorlayout;

namespace {

constexpr Point kHeaderSource{0, 497};

// The panel's picture carrying the scope and the two meters at their places in the panel.
void BuildPanel(Korvane& plugin, Frame* parent) {
  Frame* panel =
      new KorvaneGenericDrawFrame(parent, 0, kPanelTop, kWidth, kPanelHeight, 0, 0, bitmaps::kPanel);
  new KorvaneBalanceMeterFrame(&plugin, panel, 14, 39);
  new KorvanePhaseFrame(&plugin, panel, bitmaps::kScopeX, bitmaps::kScopeY, bitmaps::kScopeSize,
                        bitmaps::kScopeSize, bitmaps::kPanel, bitmaps::kScopeX, bitmaps::kScopeY);
  new KVNPhaseCorrelationMeterFrame(&plugin, panel, 245, 39);
}

}  // namespace

void BuildEditorLayout(Korvane& plugin, Frame* parent) {
  new KorvaneGenericDrawFrame(parent, 0, 0, kWidth, kHeaderHeight, kHeaderSource.x, kHeaderSource.y,
                              bitmaps::kPanel);
  BuildPanel(plugin, parent);
  new StripBackground(parent, 0, kMasterAlarmTop, kWidth, kMasterAlarmHeight);
  new StripBackground(parent, 0, kGlobalTop, kWidth, kGlobalHeight);
}
