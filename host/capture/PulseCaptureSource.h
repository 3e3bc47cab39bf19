// Capture from the monitor of the default PulseAudio sink (also PipeWire's pulse server) with
// libpulse's asynchronous API, driven by the caller's passes: nothing here blocks or starts a
// thread, and no sound server is ever spawned.
#pragma once

#include "host/capture/CaptureSource.h"
#include "host/capture/PacketCutter.h"

#include <chrono>

struct pa_context;
struct pa_mainloop;
struct pa_stream;

namespace tolvaran {

class PulseCaptureSource final : public CaptureSource {
 public:
  PulseCaptureSource() = default;
  PulseCaptureSource(const PulseCaptureSource&) = delete;
  PulseCaptureSource& operator=(const PulseCaptureSource&) = delete;
  ~PulseCaptureSource() override { close(); }

  bool open(double rate, std::string& error) override;
  CaptureStatus pump(PacketSink& sink, std::string& error) override;
  void close() override;

 private:
  bool connect_stream(std::string& error);
  CaptureStatus read_available(PacketSink& sink, std::string& error);

  pa_mainloop* mainloop_ = nullptr;
  pa_context* context_ = nullptr;
  pa_stream* stream_ = nullptr;
  double rate_ = 48000.0;
  PacketCutter cutter_{};
};

// The default sink's sample rate, asked of the sound server for at most timeout; 0 when there
// is no answer by then.
double query_default_sink_rate(std::chrono::milliseconds timeout);

}  // namespace tolvaran
