#include "host/audio/HostEngine.h"

#include "host/audio/SampleMath.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>

namespace tolvaran {

namespace {

constexpr int32_t kDeclaredBlockSize = 512;
constexpr int kChannelBufferLength = 960;

HostEngine* engine = nullptr;

void copy_samples(const float* values, int frames, float* out) { std::copy_n(values, frames, out); }

}  // namespace

HostEngine& HostEngine::instance() {
  if (!engine) engine = new HostEngine;
  return *engine;
}

void HostEngine::destroy_instance() {
  delete engine;
  engine = nullptr;
}

bool HostEngine::start(const char* file_name) {
  create_plugin(file_name);
  start_plugin(plugin_);
  return true;
}

bool HostEngine::create_plugin(const char* file_name) {
  if (plugin_) return true;
  auto plugin = std::make_unique<TvMultimeterPlugin>(QString::fromLocal8Bit(file_name));
  if (!plugin->load_plugin(file_name)) return false;
  plugin_ = plugin.release();
  return true;
}

void HostEngine::start_plugin(TvMultimeterPlugin* plugin) {
  if (!plugin || !enabled_) return;
  plugin->set_sample_rate(sample_rate_);
  plugin->set_block_size(kDeclaredBlockSize);
  transport_.sample_rate = sample_rate_;
  plugin->alloc_channel_buffers(kChannelBufferLength);
  plugin->serve_host_callbacks();
  plugin->suspend();
  plugin->resume();
  plugin->load_chunk_file();
}

bool HostEngine::process_captured(const StereoBlockBuffer* block) {
  feed_plugin(block, plugin_);
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  transport_.nanoseconds =
      static_cast<double>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count()) * 1e6;
  update_transport();
  return true;
}

void HostEngine::feed_plugin(const StereoBlockBuffer* block, TvMultimeterPlugin* plugin) {
  feed(block, plugin, copy_samples);
}

void HostEngine::feed_plugin_clipped(const StereoBlockBuffer* block, TvMultimeterPlugin* plugin) {
  feed(block, plugin, copy_clipped);
}

void HostEngine::feed(const StereoBlockBuffer* block, TvMultimeterPlugin* plugin, CopySamples copy) {
  if (!block || !plugin) return;
  const int length = plugin->buffer_length();
  const int declared = plugin->declared_block_size();
  const int piece = declared > 0 ? std::min(declared, length) : length;
  if (piece <= 0) return;
  float* const left = plugin->left_input();
  float* const right = plugin->right_input();
  for (int start = 0; start < block->frames(); start += piece) {
    const int frames = std::min(piece, block->frames() - start);
    plugin->clear_channel_buffers();
    if (left && block->left()) copy(block->left() + start, frames, left);
    if (right && block->right()) copy(block->right() + start, frames, right);
    plugin->process_block(frames);
  }
}

void HostEngine::copy_plugin_output(StereoBlockBuffer* block, const TvMultimeterPlugin* plugin) const {
  if (!block || !plugin) return;
  const int frames = std::min(block->frames(), plugin->buffer_length());
  const auto copy_channel = [block, frames](const float* output, float* channel) {
    if (!output || !channel) return;
    std::copy_n(output, frames, channel);
    std::fill(channel + frames, channel + block->frames(), 0.0f);
  };
  copy_channel(plugin->left_output(), block->left());
  copy_channel(plugin->right_output(), block->right());
}

void HostEngine::update_transport() {
  static constexpr double kFramesPerSecond[] = {24.0, 25.0, 24.0, 30.0, static_cast<double>(29.97f), 30.0};
  const double seconds =
      transport_.sample_rate > 0.0 ? transport_.sample_position / transport_.sample_rate : 0.0;
  transport_.ppq_position = seconds * transport_.tempo / 60.0;
  const int32_t index = std::clamp(transport_.smpte_frame_rate, 0, 5);
  double whole = 0.0;
  const double fraction = std::modf(seconds, &whole);
  transport_.smpte_offset = static_cast<int32_t>(fraction * kFramesPerSecond[index] * 80.0);
}

}  // namespace tolvaran
