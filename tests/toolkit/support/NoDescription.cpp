// The toolkit's tests run no product: error reports fall back to a message box without a
// product name.
#include "framework/core/PluginMetaClass.h"

ZEBPluginMetaClass* CreateVstKorvaneMetaClass() { return nullptr; }
