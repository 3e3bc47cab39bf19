#include "tests/support/AllocationFailure.h"

#include <cstdlib>
#include <new>

namespace {

thread_local int tCountdown = -1;
thread_local bool tFailed = false;
thread_local const void* tWatched = nullptr;
thread_local bool tWatchedFreed = false;

}  // namespace

void* operator new(std::size_t size) {
  if (tCountdown >= 0 && tCountdown-- == 0) {
    tFailed = true;
    throw std::bad_alloc();
  }
  if (void* block = std::malloc(size ? size : 1)) return block;
  throw std::bad_alloc();
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return ::operator new(size);
  } catch (...) {
    return nullptr;
  }
}

void operator delete(void* block) noexcept {
  if (block && block == tWatched) tWatchedFreed = true;
  std::free(block);
}

void operator delete(void* block, std::size_t) noexcept { ::operator delete(block); }

void operator delete(void* block, const std::nothrow_t&) noexcept { ::operator delete(block); }

namespace alloc_test {

FailAllocation::FailAllocation(int nth) {
  tFailed = false;
  tCountdown = nth;
}

FailAllocation::~FailAllocation() { tCountdown = -1; }

bool FailAllocation::Failed() const { return tFailed; }

void WatchBlock(const void* block) {
  tWatched = block;
  tWatchedFreed = false;
}

bool WatchedBlockFreed() { return tWatchedFreed; }

}  // namespace alloc_test
