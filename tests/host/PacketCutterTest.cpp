// Re-cutting the sound server's fragments into 480-frame packets.
#include "host/capture/PacketCutter.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tolvaran;

namespace {

struct Collect : PacketSink {
  std::vector<std::vector<float>> packets;
  void take(const CapturePacket& packet) override {
    packets.emplace_back(packet.frames, packet.frames + 2 * packet.count);
  }
};

TEST(PacketCutter, FragmentsOfAnySizeBecomeWholePacketsInOrder) {
  std::vector<float> stream(2 * 1500);
  for (size_t i = 0; i < stream.size(); ++i) stream[i] = static_cast<float>(i);
  // Odd cuts, one of them through the middle of a frame.
  const size_t cuts[] = {3, 1000, 2837, 5000, 12000};
  PacketCutter cutter;
  Collect sink;
  size_t from = 0;
  for (size_t to : cuts) {
    cutter.push(reinterpret_cast<const char*>(stream.data()) + from, to - from, sink);
    from = to;
  }
  ASSERT_EQ(sink.packets.size(), 3u) << "12000 bytes: three packets of 3840, 480 bytes waiting";
  for (size_t p = 0; p < 3; ++p)
    for (size_t i = 0; i < 960; ++i) ASSERT_EQ(sink.packets[p][i], stream[p * 960 + i]);
}

TEST(PacketCutter, AHoleIsReadAsSilenceAndKeepsTheCount) {
  PacketCutter cutter;
  Collect sink;
  const std::vector<float> ones(2 * 100, 1.0f);
  cutter.push(ones.data(), ones.size() * sizeof(float), sink);
  cutter.push(nullptr, PacketCutter::kPacketBytes, sink);
  ASSERT_EQ(sink.packets.size(), 1u);
  for (size_t i = 0; i < 960; ++i) ASSERT_EQ(sink.packets[0][i], i < 200 ? 1.0f : 0.0f) << i;
}

}  // namespace
