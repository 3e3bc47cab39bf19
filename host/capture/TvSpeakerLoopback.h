// The capture thread: takes what the default sink plays, packet by packet, and runs the audio
// engine on each packet on this thread.
#pragma once

#include "host/audio/StereoBlockBuffer.h"
#include "host/capture/CaptureSource.h"

#include <QThread>

#include <atomic>
#include <memory>

namespace tolvaran {

// Created, started and stopped on the UI thread; run, take and swap_capture_buffer run on the
// capture thread, which owns the blocks and the source while it runs.
class TvSpeakerLoopback : public QThread, private PacketSink {
  Q_OBJECT

 public:
  static constexpr int kBlockFrames = 480;

  // Captures from the sound server, or from the given source.
  explicit TvSpeakerLoopback(std::unique_ptr<CaptureSource> source = nullptr);
  // Stops the capture first.
  ~TvSpeakerLoopback() override;

  void start_capture();
  // Raises the done flag and waits for the thread: the packets already waiting are still
  // processed, then the loop ends at its next pass (within some 10 ms).
  void stop_capture();

  // The default sink's sample rate, asked for at most about a second; 48000 without an answer.
  static double query_mix_sample_rate();

  // Makes the other block current, sized to count frames, and splits the interleaved frames into
  // its channels. Answers count.
  int swap_capture_buffer(const float* frames, int count);

 protected:
  void run() override;

 private:
  void take(const CapturePacket& packet) override;

  std::unique_ptr<CaptureSource> source_{};
  StereoBlockBuffer first_{kBlockFrames};
  StereoBlockBuffer second_{kBlockFrames};
  StereoBlockBuffer* current_ = &first_;
  std::atomic<bool> done_{false};
};

}  // namespace tolvaran
