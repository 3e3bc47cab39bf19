#include <atomic>
#include <cstdint>

std::atomic<std::int64_t> gTestTick{0};

namespace Clock {
std::int64_t GetTimerTick() { return gTestTick.load(); }
}
