// The hosted plug-in as Tolvaran drives it: channel buffers, the processReplacing driver,
// gains, the window repainted for the plug-in, and the state chunk file.
#pragma once

#include "host/vst/HostedVstPlugin.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <atomic>
#include <memory>

namespace tolvaran {

// Lives on the UI thread, which creates, sets up and deletes it. Host callbacks may arrive on
// either thread: the ones that touch the editor or a widget act only on the UI thread.
class VstPluginEx : public QObject, public HostedVstPlugin {
  Q_OBJECT

 public:
  explicit VstPluginEx(const QString& name);
  // UI thread, capture stopped. Closes the plug-in while this object is still whole, then frees
  // the buffers.
  ~VstPluginEx() override;

  // UI thread, before the capture starts: makes this object the one that answers the effect's
  // host callbacks.
  void serve_host_callbacks();

  // Set-up: UI thread, before the capture starts (the buffers are not swapped under the
  // capture thread).
  void set_sample_rate(double rate);
  double sample_rate() const { return sample_rate_; }

  // Allocates one zeroed buffer of length samples per plug-in input and output.
  bool alloc_channel_buffers(int length);
  int buffer_length() const { return buffer_length_; }
  int input_count() const { return input_count_; }
  int output_count() const { return output_count_; }
  float* left_input() const { return channel(inputs_.get(), input_count_, left_input_index_); }
  float* right_input() const { return channel(inputs_.get(), input_count_, right_input_index_); }
  float* left_output() const { return channel(outputs_.get(), output_count_, left_output_index_); }
  float* right_output() const { return channel(outputs_.get(), output_count_, right_output_index_); }

  // Capture thread (the host's audio thread): never allocate, lock or block.
  // Zeroes every input and output buffer over its whole length.
  void clear_channel_buffers();
  // Runs processReplacing over the first frames samples of the buffers: never more than the
  // buffers hold, and in pieces no longer than the block size declared to the plug-in.
  void process_block(int frames);

  // Any thread; the capture thread reads the gains atomically.
  void set_input_gain_db(float db);
  void set_output_gain_db(float db);

  // UI thread, at set-up. Sends the state chunk file's text as the plug-in's bank; answers 0
  // whatever happens.
  int load_chunk_file();
  // Writes the plug-in's bank to the state chunk file.
  bool save_chunk_file();

  // The widget repainted when the plug-in asks for a new window size; UI thread.
  void set_window(QWidget* window) { window_ = window; }
  QWidget* window() const { return window_; }

  // Host-callback work that touches the editor or the window, called on any thread: idle runs
  // only on this object's thread (nothing elsewhere), a repaint is queued to it.
  void idle_from_plugin();
  void update_window();

  const QString& name() const { return name_; }

 signals:
  void plugin_index_change_signal(int index);
  void plugin_close_signal();

 private:
  using Buffers = std::unique_ptr<float*[]>;
  static float* channel(float* const* buffers, int count, int index) {
    return buffers && index >= 0 && index < count ? buffers[index] : nullptr;
  }
  void free_channel_buffers();
  static void apply_gain(float* const* buffers, int count, int length, float gain);

  QPointer<QWidget> window_{};
  Buffers inputs_{};
  Buffers outputs_{};
  // Pointers into the buffers at the start of each piece handed to processReplacing.
  Buffers input_views_{};
  Buffers output_views_{};
  int input_count_ = 0;
  int output_count_ = 0;
  int left_input_index_ = 0;
  int right_input_index_ = 1;
  int left_output_index_ = 0;
  int right_output_index_ = 1;
  int buffer_length_ = 0;
  double sample_rate_ = 48000.0;
  std::atomic<float> input_gain_{0.0f};
  std::atomic<float> output_gain_{0.0f};
  static_assert(std::atomic<float>::is_always_lock_free, "gains are read on the audio thread");
  QString name_{};
};

}  // namespace tolvaran
