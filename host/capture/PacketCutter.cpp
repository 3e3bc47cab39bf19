#include "host/capture/PacketCutter.h"

#include <algorithm>
#include <cstring>

namespace tolvaran {

void PacketCutter::push(const void* bytes, size_t length, PacketSink& sink) {
  const auto* in = static_cast<const unsigned char*>(bytes);
  auto* out = reinterpret_cast<unsigned char*>(packet_.data());
  while (length > 0) {
    const size_t n = std::min(length, kPacketBytes - filled_);
    if (in) {
      std::memcpy(out + filled_, in, n);
      in += n;
    } else {
      std::memset(out + filled_, 0, n);
    }
    filled_ += n;
    length -= n;
    if (filled_ == kPacketBytes) {
      filled_ = 0;
      sink.take(CapturePacket{packet_.data(), kPacketFrames, false});
    }
  }
}

}  // namespace tolvaran
