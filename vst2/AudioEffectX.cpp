#include "vst2/AudioEffectX.h"

intptr_t AudioEffectX::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
  switch (opcode) {
    case effCanBeAutomated:
      return canParameterBeAutomated(index) ? 1 : 0;
    case effGetNumProgramCategories:
      return getNumCategories();
    case effGetProgramNameIndexed:
      return getProgramNameIndexed(static_cast<int32_t>(value), index, static_cast<char*>(ptr)) ? 1 : 0;
    case effConnectInput:
    case effConnectOutput:
      return 1;
    case effGetPlugCategory:
      return getPlugCategory();
    case effSetBlockSizeAndSampleRate:
      setBlockSizeAndSampleRate(static_cast<int32_t>(value), opt);
      return 1;
    case effGetEffectName:
      return getEffectName(static_cast<char*>(ptr)) ? 1 : 0;
    case effGetVendorString:
      return getVendorString(static_cast<char*>(ptr)) ? 1 : 0;
    case effGetProductString:
      return getProductString(static_cast<char*>(ptr)) ? 1 : 0;
    case effCanDo:
      return ptr ? canDo(static_cast<char*>(ptr)) : 0;
    case effKeysRequired:
      return 1;
    case effGetVstVersion:
      return getVstVersion();
    default:
      return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
  }
}
