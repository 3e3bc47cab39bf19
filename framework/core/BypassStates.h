#pragma once

#include <cstdint>

// The core's process states and how a block's mode moves them on.
enum ProcessState : std::int32_t {
  kStateProcessing = 0,
  kStateBypassed = 1,
  kStateHeld = 2,
  kStateEnteringBypass = 3,
  kStateLeavingBypass = 4,
};

// mode 0: normal; any other mode: bypass requested. Unknown states start over at processing.
inline std::int32_t NextProcessState(std::int32_t state, std::int32_t mode) {
  static constexpr std::int32_t kTable[5][2] = {
      {kStateProcessing, kStateEnteringBypass},
      {kStateLeavingBypass, kStateBypassed},
      {kStateHeld, kStateHeld},
      {kStateLeavingBypass, kStateBypassed},
      {kStateProcessing, kStateEnteringBypass},
  };
  if (state < 0 || state > 4) state = kStateProcessing;
  return kTable[state][mode != 0 ? 1 : 0];
}
