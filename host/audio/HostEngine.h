// The process-wide audio engine: creates and sets up the one hosted plug-in and, on the capture
// thread, feeds it each captured block.
#pragma once

#include "host/audio/StereoBlockBuffer.h"
#include "host/vst/TvMultimeterPlugin.h"

#include <cstdint>

namespace tolvaran {

// The library the engine loads: looked for beside the program first.
inline constexpr const char* kPluginFileName = "libvarnis.so";

// The engine's transport record. It is kept up to date per block but never handed to the
// plug-in, whose time query is answered with none.
struct Transport {
  double sample_position = 0.0;
  double sample_rate = 48000.0;
  double nanoseconds = 0.0;
  double ppq_position = 0.0;
  double tempo = 120.0;
  double bar_start_position = 0.0;
  double cycle_start_position = 0.0;
  double cycle_end_position = 0.0;
  int32_t time_sig_numerator = 4;
  int32_t time_sig_denominator = 4;
  int32_t smpte_offset = 0;
  int32_t smpte_frame_rate = 1;  // index into 24, 25, 24, 30, 29.97, 30 frames per second
  int32_t samples_to_next_clock = 0;
  int32_t flags = 0;
};

// Threads: instance, set-up (set_sample_rate, start, create_plugin, start_plugin) and
// destroy_instance belong to the UI thread while no capture runs; process_captured and
// feed_plugin to the capture thread only. Nothing is locked between them: the capture thread is
// started after set-up and joined before destroy_instance.
class HostEngine {
 public:
  HostEngine(const HostEngine&) = delete;
  HostEngine& operator=(const HostEngine&) = delete;

  static HostEngine& instance();
  // Deletes the engine. The plug-in is forgotten, not deleted: it stays loaded until the process
  // ends, and its editor belongs to the plug-in window.
  static void destroy_instance();

  void set_sample_rate(double rate) { sample_rate_ = static_cast<float>(rate); }
  float sample_rate() const { return sample_rate_; }
  TvMultimeterPlugin* plugin() const { return plugin_; }
  const Transport& transport() const { return transport_; }

  // create_plugin, then start_plugin with whatever plug-in the engine has; true.
  bool start(const char* file_name = kPluginFileName);
  // Loads the plug-in unless one is there; false, and none kept, when it cannot be loaded.
  bool create_plugin(const char* file_name = kPluginFileName);
  // Rate, block size 512, 960-sample buffers, host callbacks, suspend, resume, state chunk file.
  void start_plugin(TvMultimeterPlugin* plugin);

  // Capture thread: runs the plug-in over the block and stamps the transport; true.
  bool process_captured(const StereoBlockBuffer* block);
  // Capture thread: copies the block into the plug-in's inputs in pieces that fit both the
  // declared block size and the buffers, running the plug-in once per piece.
  void feed_plugin(const StereoBlockBuffer* block, TvMultimeterPlugin* plugin);
  // Capture thread: feed_plugin with every sample limited to -1..1 on its way in.
  void feed_plugin_clipped(const StereoBlockBuffer* block, TvMultimeterPlugin* plugin);
  // Capture thread: copies the plug-in's left and right outputs into the block. The outputs hold
  // the last block run, at most buffer_length() frames: the block's frames past them are cleared.
  void copy_plugin_output(StereoBlockBuffer* block, const TvMultimeterPlugin* plugin) const;
  void update_transport();

 private:
  using CopySamples = void (*)(const float* values, int frames, float* out);

  HostEngine() = default;
  ~HostEngine() = default;
  static void feed(const StereoBlockBuffer* block, TvMultimeterPlugin* plugin, CopySamples copy);

  float sample_rate_ = 48000.0f;
  Transport transport_{};
  bool enabled_ = true;
  TvMultimeterPlugin* plugin_ = nullptr;
};

}  // namespace tolvaran
