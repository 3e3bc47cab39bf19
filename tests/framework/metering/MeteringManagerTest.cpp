#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "framework/metering/MeteringManager.h"
#include "tests/framework/services/FakeTicks.h"

namespace {

class Metering : public ::testing::Test {
 protected:
  void Advance(std::int64_t ticks) { mTicks.Set(mTicks.Get() + ticks); }
  FakeTicks mTicks{1000};
};

TEST_F(Metering, ReaderKeepsPeakSinceItsLastRead) {
  MeteringManager manager(true);
  auto reader = manager.AddReader();
  ASSERT_TRUE(reader->IsAttached());
  reader->ReadRaw();
  for (float v : {3.0f, 5.0f, 4.0f}) manager.SubmitValue(v);
  EXPECT_EQ(reader->ReadRaw(), 5.0f);
  // The read asked for a replacement: a smaller value now wins.
  manager.SubmitValue(2.0f);
  EXPECT_EQ(reader->ReadRaw(), 2.0f);
  manager.SubmitValue(1.0f);
  manager.SubmitValue(1.5f);
  EXPECT_EQ(reader->ReadRaw(), 1.5f);
  EXPECT_EQ(manager.GetValue(), 1.5f);
}

TEST_F(Metering, EveryReaderSeesItsOwnPeak) {
  MeteringManager manager(true);
  auto a = manager.AddReader();
  auto b = manager.AddReader();
  a->ReadRaw();
  b->ReadRaw();
  manager.SubmitValue(4.0f);
  EXPECT_EQ(a->ReadRaw(), 4.0f);
  manager.SubmitValue(1.0f);
  EXPECT_EQ(a->ReadRaw(), 1.0f);
  EXPECT_EQ(b->ReadRaw(), 4.0f);
}

TEST_F(Metering, DecibelManagerReadsZeroUntilFedThenResetFloor) {
  MeteringManager manager(false);
  auto reader = manager.AddReader();
  EXPECT_EQ(reader->ReadDb(), 0.0f);
  manager.Reset();
  EXPECT_EQ(reader->ReadDb(), -1000.0f);
  manager.SubmitValue(-6.0f);
  EXPECT_EQ(reader->ReadDb(), -6.0f);
  manager.SubmitValue(-6.0f);
  EXPECT_NEAR(reader->ReadLinear(), 0.501187f, 1e-6f);
}

TEST_F(Metering, LinearManagerConversions) {
  MeteringManager manager(true);
  auto reader = manager.AddReader();
  manager.SubmitValue(0.5f);
  EXPECT_NEAR(reader->ReadDb(), -6.0206f, 1e-4f);
  manager.SubmitValue(1e-7f);
  EXPECT_EQ(reader->ReadDb(), -1000.0f);
  manager.SubmitValue(0.25f);
  EXPECT_EQ(reader->ReadLinear(), 0.25f);
}

TEST_F(Metering, NaNIsIgnored) {
  MeteringManager manager(true);
  auto reader = manager.AddReader();
  manager.SubmitValue(0.5f);
  manager.SetValue(std::numeric_limits<float>::quiet_NaN(), false);
  EXPECT_EQ(reader->ReadRaw(), 0.5f);
  EXPECT_EQ(manager.GetValue(), 0.5f);
  manager.SubmitValue(0.25f);
  EXPECT_EQ(reader->ReadRaw(), 0.25f);
}

TEST_F(Metering, HoldDropsToFloorWhenOlderThanHold) {
  struct Case {
    bool linear;
    std::int64_t startTick;
  };
  // The second start tick is past what 32 bits hold.
  for (const Case& c : {Case{true, 1000}, Case{false, std::int64_t{INT32_MAX} + 5}}) {
    mTicks.Set(c.startTick);
    MeteringManager manager(c.linear);
    auto reader = manager.AddReader();
    reader->SetHoldTicks(15);
    manager.SubmitValue(c.linear ? 0.5f : -3.0f);
    Advance(15);
    EXPECT_EQ(reader->ReadRaw(), c.linear ? 0.5f : -3.0f);
    Advance(1);
    EXPECT_EQ(reader->ReadRaw(), c.linear ? 0.0f : -1000.0f);
    reader->SetFloor(-77.0f);
    EXPECT_EQ(reader->ReadRaw(), -77.0f);
    // A new value replaces the expired one whatever its size.
    manager.SubmitValue(c.linear ? 0.01f : -90.0f);
    EXPECT_EQ(reader->ReadRaw(), c.linear ? 0.01f : -90.0f);
  }
}

TEST_F(Metering, FallingReadDividesTicksInFloatingPoint) {
  MeteringManager manager(false);
  auto reader = manager.AddReader();
  reader->SetFallRate(-12.0f);  // stored as its magnitude
  manager.SubmitValue(-10.0f);
  EXPECT_EQ(reader->ReadDbFalling(), -10.0f);  // rises at once
  // One tick at 12 dB per 60 ticks allows 0.2 dB.
  Advance(1);
  manager.SubmitValue(-40.0f);
  EXPECT_NEAR(reader->ReadDbFalling(), -10.2f, 1e-5f);
  Advance(30);
  manager.SubmitValue(-40.0f);
  EXPECT_NEAR(reader->ReadDbFalling(), -16.2f, 1e-4f);
  // A drop smaller than allowed lands on the value itself.
  Advance(600);
  manager.SubmitValue(-20.0f);
  EXPECT_EQ(reader->ReadDbFalling(), -20.0f);
}

TEST_F(Metering, SlotsRunOutAndComeBack) {
  MeteringManager manager(false);
  std::vector<std::unique_ptr<MeteringReader>> readers;
  for (int i = 0; i < MeteringManager::kReaderSlots; ++i) {
    readers.push_back(manager.AddReader());
    EXPECT_TRUE(readers.back()->IsAttached());
  }
  auto extra = manager.AddReader();
  EXPECT_FALSE(extra->IsAttached());
  manager.SubmitValue(-3.0f);
  EXPECT_EQ(extra->ReadDb(), -1000.0f);
  EXPECT_EQ(readers[7]->ReadDb(), -3.0f);

  readers[7].reset();  // its destructor frees the slot
  auto again = manager.AddReader();
  ASSERT_TRUE(again->IsAttached());
  EXPECT_EQ(again->ReadDb(), 0.0f);  // fresh slot, nothing of the old reader's value
  readers[3]->Detach();
  EXPECT_FALSE(readers[3]->IsAttached());
  readers[3]->Detach();  // twice is harmless
  EXPECT_TRUE(manager.AddReader()->IsAttached());
}

TEST_F(Metering, EitherSideMayGoFirst) {
  auto manager = std::make_unique<MeteringManager>(true);
  auto reader = manager->AddReader();
  auto other = manager->AddReader();
  manager->SubmitValue(0.5f);
  other.reset();
  manager.reset();
  EXPECT_FALSE(reader->IsAttached());
  EXPECT_EQ(reader->ReadRaw(), 0.0f);
  EXPECT_EQ(reader->ReadDb(), -1000.0f);
  reader->Detach();
  reader.reset();

  MeteringManager a(true), b(true);
  auto foreign = a.AddReader();
  b.RemoveReader(foreign.get());  // not b's: nothing happens
  EXPECT_TRUE(foreign->IsAttached());
  b.RemoveReader(nullptr);
}

}  // namespace
