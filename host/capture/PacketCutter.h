// Re-cuts the byte stream of interleaved stereo float frames into packets of 480 frames.
#pragma once

#include "host/capture/CaptureSource.h"

#include <array>
#include <cstddef>

namespace tolvaran {

class PacketCutter {
 public:
  static constexpr int kPacketFrames = 480;
  static constexpr size_t kFrameBytes = 2 * sizeof(float);
  static constexpr size_t kPacketBytes = kPacketFrames * kFrameBytes;

  // Appends length bytes (a null bytes pointer: a hole, read as zeros) and hands every packet
  // that fills up to sink. A partial packet waits for the next bytes.
  void push(const void* bytes, size_t length, PacketSink& sink);
  // Drops a partial packet.
  void reset() { filled_ = 0; }

 private:
  std::array<float, 2 * kPacketFrames> packet_{};
  size_t filled_ = 0;  // bytes
};

}  // namespace tolvaran
