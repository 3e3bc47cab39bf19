// Where captured sound comes from: the sound server's monitor of the default sink, or a fake in
// tests. Every call is made on the capture thread.
#pragma once

#include <string>

namespace tolvaran {

// Interleaved stereo 32-bit float frames (left, right), valid only during PacketSink::take.
struct CapturePacket {
  const float* frames = nullptr;
  int count = 0;
  bool silent = false;  // a hole in the stream: the frames are not read, the block is zeros
};

class PacketSink {
 public:
  virtual void take(const CapturePacket& packet) = 0;

 protected:
  ~PacketSink() = default;
};

enum class CaptureStatus {
  kCapturing,
  kEnded,             // the stream failed or was closed: capture is over
  kConnectionFailed,  // no sound server to capture from
};

class CaptureSource {
 public:
  virtual ~CaptureSource() = default;
  // Starts capturing at rate frames per second, without blocking; false, with the reason,
  // when it cannot even start.
  virtual bool open(double rate, std::string& error) = 0;
  // One pass, never blocking: hands every packet that has arrived to sink, in order.
  virtual CaptureStatus pump(PacketSink& sink, std::string& error) = 0;
  // Ends the capture and releases the source's resources; safe after any failure.
  virtual void close() = 0;
};

}  // namespace tolvaran
