// A capture source that hands out the packets a test queues, as the sound server would.
#pragma once

#include "host/capture/CaptureSource.h"

#include <atomic>
#include <deque>
#include <mutex>
#include <vector>

namespace tolvaran {

class FakeCaptureSource final : public CaptureSource {
 public:
  struct Packet {
    std::vector<float> frames;  // interleaved left, right
    bool silent = false;
  };

  // Queues a packet of count frames: left = left_value, right = right_value.
  void queue(int count, float left_value, float right_value, bool silent = false) {
    Packet packet;
    packet.silent = silent;
    for (int i = 0; i < count; ++i) {
      packet.frames.push_back(left_value);
      packet.frames.push_back(right_value);
    }
    std::lock_guard<std::mutex> hold(lock_);
    packets_.push_back(std::move(packet));
  }
  // The pass that delivers this packet (counted from 1) fails instead.
  void fail_at_packet(int number) { fail_at_ = number; }
  void refuse_open() { refuse_open_ = true; }
  void fail_connection() { fail_connection_ = true; }

  int delivered() const { return delivered_.load(); }
  int passes() const { return passes_.load(); }
  bool closed() const { return closed_.load(); }

  bool open(double rate, std::string& error) override {
    rate_ = rate;
    if (refuse_open_) error = "refused";
    return !refuse_open_;
  }

  CaptureStatus pump(PacketSink& sink, std::string& error) override {
    ++passes_;
    if (fail_connection_) {
      error = "Connection refused";
      return CaptureStatus::kConnectionFailed;
    }
    for (;;) {
      Packet packet;
      {
        std::lock_guard<std::mutex> hold(lock_);
        if (packets_.empty()) return CaptureStatus::kCapturing;
        if (delivered_.load() + 1 == fail_at_) {
          error = "stream failed";
          return CaptureStatus::kEnded;
        }
        packet = std::move(packets_.front());
        packets_.pop_front();
      }
      sink.take(
          CapturePacket{packet.frames.data(), static_cast<int>(packet.frames.size() / 2), packet.silent});
      ++delivered_;
    }
  }

  void close() override { closed_ = true; }

  double rate() const { return rate_; }

 private:
  std::mutex lock_;
  std::deque<Packet> packets_;
  int fail_at_ = 0;
  bool refuse_open_ = false;
  bool fail_connection_ = false;
  double rate_ = 0.0;
  std::atomic<int> delivered_{0};
  std::atomic<int> passes_{0};
  std::atomic<bool> closed_{false};
};

}  // namespace tolvaran
