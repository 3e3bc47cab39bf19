#include "analyser/editor/alarms/AlarmWidgetSupport.h"

#include "toolkit/editor/PluginUIRoot.h"

bool IsShiftAlone(const PluginUIRoot* root) {
  return root && root->IsShiftKeyDown() && !root->IsControlKeyDown() && !root->IsControlShiftDown() &&
         !root->IsExtraModifierDown();
}
