#pragma once

// Test hooks of the replaced global operator new and delete in this test program.
namespace alloc_test {

// While alive, the nth allocation on this thread from now (0 = the next one) fails.
class FailAllocation {
 public:
  explicit FailAllocation(int nth);
  ~FailAllocation();
  FailAllocation(const FailAllocation&) = delete;
  FailAllocation& operator=(const FailAllocation&) = delete;
  // Whether the failure was reached.
  bool Failed() const;
};

// Watches one block: WatchedBlockFreed tells whether operator delete has released it since.
void WatchBlock(const void* block);
bool WatchedBlockFreed();

}  // namespace alloc_test
