#include "host/vst/VstPluginEx.h"

#include "host/vst/ChunkFile.h"

#include <QThread>

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

namespace tolvaran {

namespace {

// Counts beyond this are a broken effect record, not a plug-in.
constexpr int kMaxChannels = 256;

}  // namespace

VstPluginEx::VstPluginEx(const QString& name) : name_(name) {}

VstPluginEx::~VstPluginEx() {
  unload();
  free_channel_buffers();
}

void VstPluginEx::serve_host_callbacks() {
  if (effect()) effect()->user = this;
}

void VstPluginEx::set_sample_rate(double rate) {
  sample_rate_ = rate;
  HostedVstPlugin::set_sample_rate(static_cast<float>(rate));
}

void VstPluginEx::free_channel_buffers() {
  for (int i = 0; inputs_ && i < input_count_; ++i) delete[] inputs_[i];
  for (int i = 0; outputs_ && i < output_count_; ++i) delete[] outputs_[i];
  inputs_.reset();
  outputs_.reset();
  input_views_.reset();
  output_views_.reset();
  input_count_ = output_count_ = buffer_length_ = 0;
}

bool VstPluginEx::alloc_channel_buffers(int length) {
  free_channel_buffers();
  const AEffect* fx = effect();
  if (!fx || length < 0) return false;
  if (fx->numInputs < 0 || fx->numInputs > kMaxChannels || fx->numOutputs < 0 ||
      fx->numOutputs > kMaxChannels)
    return false;
  auto make = [length](int count, Buffers& buffers, Buffers& views) {
    if (count == 0) return true;
    buffers.reset(new (std::nothrow) float*[count]());
    views.reset(new (std::nothrow) float*[count]());
    if (!buffers || !views) return false;
    for (int i = 0; i < count; ++i) {
      buffers[i] = new (std::nothrow) float[static_cast<size_t>(length)]();
      if (!buffers[i]) return false;
    }
    return true;
  };
  input_count_ = fx->numInputs;
  output_count_ = fx->numOutputs;
  buffer_length_ = length;
  if (!make(input_count_, inputs_, input_views_) || !make(output_count_, outputs_, output_views_)) {
    free_channel_buffers();
    return false;
  }
  return true;
}

void VstPluginEx::apply_gain(float* const* buffers, int count, int length, float gain) {
  if (gain == 0.0f) return;  // 0 means off
  for (int c = 0; c < count; ++c)
    for (int i = 0; i < length; ++i) buffers[c][i] *= gain;
}

void VstPluginEx::clear_channel_buffers() {
  for (int c = 0; inputs_ && c < input_count_; ++c) std::fill_n(inputs_[c], buffer_length_, 0.0f);
  for (int c = 0; outputs_ && c < output_count_; ++c) std::fill_n(outputs_[c], buffer_length_, 0.0f);
}

void VstPluginEx::process_block(int frames) {
  AEffect* fx = effect();
  if (!inputs_ || !outputs_ || frames <= 0 || !fx || !fx->processReplacing) return;
  for (int c = 0; c < output_count_; ++c) std::fill_n(outputs_[c], buffer_length_, 0.0f);
  apply_gain(inputs_.get(), input_count_, buffer_length_, input_gain_.load(std::memory_order_relaxed));

  const int total = std::min(frames, buffer_length_);
  const int declared = declared_block_size();
  const int piece = declared > 0 ? std::min(declared, buffer_length_) : buffer_length_;
  for (int start = 0; start < total; start += piece) {
    for (int c = 0; c < input_count_; ++c) input_views_[c] = inputs_[c] + start;
    for (int c = 0; c < output_count_; ++c) output_views_[c] = outputs_[c] + start;
    fx->processReplacing(fx, input_views_.get(), output_views_.get(), std::min(piece, total - start));
  }

  apply_gain(outputs_.get(), output_count_, buffer_length_, output_gain_.load(std::memory_order_relaxed));
}

void VstPluginEx::set_input_gain_db(float db) {
  input_gain_.store(std::pow(10.0f, db / 20.0f), std::memory_order_relaxed);
}

void VstPluginEx::set_output_gain_db(float db) {
  output_gain_.store(std::pow(10.0f, db / 20.0f), std::memory_order_relaxed);
}

int VstPluginEx::load_chunk_file() {
  if (!effect() || !(effect()->flags & effFlagsProgramChunks)) return 0;
  std::vector<char> bytes;
  if (!read_whole_file(kChunkFileName, bytes)) return 0;
  // Text mode: the chunk keeps the file's size, the dropped carriage returns leaving zeros.
  drop_carriage_returns(bytes.data(), bytes.size());
  const intptr_t size = static_cast<intptr_t>(bytes.size());
  bytes.push_back('\0');  // an empty file still hands over a valid pointer
  set_chunk(bytes.data(), size, false);
  return 0;
}

bool VstPluginEx::save_chunk_file() {
  if (!effect() || !(effect()->flags & effFlagsProgramChunks)) return false;
  void* data = nullptr;
  const intptr_t size = get_chunk(&data, false);
  if (!data || size <= 0) return false;
  return write_whole_file(kChunkFileName, data, static_cast<size_t>(size));
}

void VstPluginEx::idle_from_plugin() {
  if (QThread::currentThread() == thread()) edit_idle();
}

void VstPluginEx::update_window() {
  if (QThread::currentThread() == thread()) {
    if (window_) window_->update();
    return;
  }
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (window_) window_->update();
      },
      Qt::QueuedConnection);
}

}  // namespace tolvaran
