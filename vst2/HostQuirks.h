#pragma once

#include <cstdint>
#include <string_view>

// What particular hosts need beyond the VST 2 contract, each with its reason. The adapter and the
// editor both ask here, so a host's special case is found in one place.
namespace HostQuirks {

// Digital Performer's answers to audioMasterPinConnected are not to be relied on: it is never
// asked, and every pin counts as connected.
bool AssumesEveryPinConnected(std::string_view hostProduct);

// sonicWORX idles its plug-ins itself: the editor never sends it audioMasterIdle.
bool TakesIdleRequests(std::string_view hostProduct);

// Hosts announce a block size of 0 when they do not know it (the SDK's 1024 then) and some a
// negative one, meant as its magnitude; INT32_MIN, which has none, becomes INT32_MAX.
std::int32_t UsableBlockSize(std::int32_t announced);

}  // namespace HostQuirks
