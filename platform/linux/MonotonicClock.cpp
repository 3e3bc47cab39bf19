#include "platform/Clock.h"

#include <time.h>

namespace Clock {

std::int64_t GetMonotonicMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

}  // namespace Clock
