#include "vst2/AudioEffectX.h"

std::intptr_t AudioEffectX::dispatcher(std::int32_t opcode, std::int32_t index, std::intptr_t value,
                                       void* ptr, float opt) {
  switch (opcode) {
    case effCanBeAutomated:
      return canParameterBeAutomated(index) ? 1 : 0;
    case effGetNumProgramCategories:
      return getNumCategories();
    case effGetProgramNameIndexed:
      return getProgramNameIndexed(static_cast<std::int32_t>(value), index, static_cast<char*>(ptr)) ? 1 : 0;
    case effConnectInput:
    case effConnectOutput:
      return 1;
    case effGetPlugCategory:
      return getPlugCategory();
    case effSetBlockSizeAndSampleRate:
      setBlockSizeAndSampleRate(static_cast<std::int32_t>(value), opt);
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
