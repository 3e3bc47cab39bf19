#include "vst2/HostQuirks.h"

#include <limits>

namespace HostQuirks {

namespace {

constexpr std::int32_t kUnknownBlockSize = 1024;

// Product strings are matched case-sensitively anywhere in the host's answer.
bool Contains(std::string_view hostProduct, std::string_view name) {
  return hostProduct.find(name) != std::string_view::npos;
}

}  // namespace

bool AssumesEveryPinConnected(std::string_view hostProduct) {
  return Contains(hostProduct, "Digital Performer");
}

bool TakesIdleRequests(std::string_view hostProduct) { return !Contains(hostProduct, "sonicWORX"); }

std::int32_t UsableBlockSize(std::int32_t announced) {
  if (announced == 0) return kUnknownBlockSize;
  if (announced == std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::max();
  return announced < 0 ? -announced : announced;
}

}  // namespace HostQuirks
