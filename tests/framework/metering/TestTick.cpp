#include <atomic>
#include <cstdint>

std::atomic<std::int32_t> gTestTick{0};

std::int32_t GetTimerTick() { return gTestTick.load(); }
