#include "host/capture/PulseCaptureSource.h"

#include <pulse/context.h>
#include <pulse/error.h>
#include <pulse/introspect.h>
#include <pulse/mainloop.h>
#include <pulse/stream.h>

#include <cmath>
#include <thread>

namespace tolvaran {

namespace {

constexpr const char* kClientName = "Tolvaran";
constexpr const char* kMonitor = "@DEFAULT_MONITOR@";
// Events handled per pass at most, so that a flood cannot hold the pass.
constexpr int kMaxDispatchPerPass = 64;

std::string context_error(pa_context* context) { return pa_strerror(pa_context_errno(context)); }

// Dispatches whatever is ready without waiting; false when the loop has failed.
bool run_ready_events(pa_mainloop* mainloop) {
  for (int i = 0; i < kMaxDispatchPerPass; ++i) {
    const int dispatched = pa_mainloop_iterate(mainloop, 0, nullptr);
    if (dispatched < 0) return false;
    if (dispatched == 0) break;
  }
  return true;
}

bool connect_context(pa_mainloop* mainloop, pa_context*& context, std::string& error) {
  context = pa_context_new(pa_mainloop_get_api(mainloop), kClientName);
  if (!context) {
    error = "cannot create a client context";
    return false;
  }
  if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) {
    error = context_error(context);
    return false;
  }
  return true;
}

}  // namespace

bool PulseCaptureSource::open(double rate, std::string& error) {
  close();
  rate_ = rate;
  cutter_.reset();
  mainloop_ = pa_mainloop_new();
  if (!mainloop_) {
    error = "cannot create a main loop";
    return false;
  }
  return connect_context(mainloop_, context_, error);
}

bool PulseCaptureSource::connect_stream(std::string& error) {
  const uint32_t rate = std::isfinite(rate_) && rate_ >= 1.0 && rate_ <= PA_RATE_MAX
                            ? static_cast<uint32_t>(std::lround(rate_))
                            : 48000u;
  const pa_sample_spec spec{PA_SAMPLE_FLOAT32LE, rate, 2};
  pa_channel_map map{};
  pa_channel_map_init_stereo(&map);
  stream_ = pa_stream_new(context_, "Loopback", &spec, &map);
  if (!stream_) {
    error = context_error(context_);
    return false;
  }
  pa_buffer_attr attributes{};
  attributes.maxlength = static_cast<uint32_t>(-1);
  attributes.tlength = static_cast<uint32_t>(-1);
  attributes.prebuf = static_cast<uint32_t>(-1);
  attributes.minreq = static_cast<uint32_t>(-1);
  attributes.fragsize = static_cast<uint32_t>(PacketCutter::kPacketBytes);
  if (pa_stream_connect_record(stream_, kMonitor, &attributes, PA_STREAM_ADJUST_LATENCY) < 0) {
    error = context_error(context_);
    return false;
  }
  return true;
}

CaptureStatus PulseCaptureSource::read_available(PacketSink& sink, std::string& error) {
  while (pa_stream_readable_size(stream_) > 0) {
    const void* data = nullptr;
    size_t length = 0;
    if (pa_stream_peek(stream_, &data, &length) < 0) {
      error = context_error(context_);
      return CaptureStatus::kEnded;
    }
    if (length == 0) break;            // nothing queued after all
    cutter_.push(data, length, sink);  // null data with a length: a hole, read as silence
    pa_stream_drop(stream_);
  }
  return CaptureStatus::kCapturing;
}

CaptureStatus PulseCaptureSource::pump(PacketSink& sink, std::string& error) {
  if (!mainloop_ || !context_) {
    error = "not open";
    return CaptureStatus::kEnded;
  }
  if (!run_ready_events(mainloop_)) {
    error = "the main loop failed";
    return CaptureStatus::kEnded;
  }
  switch (pa_context_get_state(context_)) {
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
      error = context_error(context_);
      return stream_ ? CaptureStatus::kEnded : CaptureStatus::kConnectionFailed;
    case PA_CONTEXT_READY:
      break;
    default:
      return CaptureStatus::kCapturing;  // still connecting
  }
  if (!stream_ && !connect_stream(error)) return CaptureStatus::kEnded;
  switch (pa_stream_get_state(stream_)) {
    case PA_STREAM_FAILED:
    case PA_STREAM_TERMINATED:
      error = context_error(context_);
      return CaptureStatus::kEnded;
    case PA_STREAM_READY:
      return read_available(sink, error);
    default:
      return CaptureStatus::kCapturing;
  }
}

void PulseCaptureSource::close() {
  if (stream_) {
    pa_stream_disconnect(stream_);
    pa_stream_unref(stream_);
    stream_ = nullptr;
  }
  if (context_) {
    pa_context_disconnect(context_);
    pa_context_unref(context_);
    context_ = nullptr;
  }
  if (mainloop_) {
    pa_mainloop_free(mainloop_);
    mainloop_ = nullptr;
  }
}

double query_default_sink_rate(std::chrono::milliseconds timeout) {
  struct Query {
    double rate = 0.0;
    bool answered = false;
  } query;
  pa_mainloop* mainloop = pa_mainloop_new();
  if (!mainloop) return 0.0;
  pa_context* context = nullptr;
  std::string error;
  pa_operation* operation = nullptr;
  if (connect_context(mainloop, context, error)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!query.answered && std::chrono::steady_clock::now() < deadline && run_ready_events(mainloop)) {
      const pa_context_state_t state = pa_context_get_state(context);
      if (state == PA_CONTEXT_FAILED || state == PA_CONTEXT_TERMINATED) break;
      if (state == PA_CONTEXT_READY && !operation) {
        operation = pa_context_get_sink_info_by_name(
            context, "@DEFAULT_SINK@",
            [](pa_context*, const pa_sink_info* info, int end, void* user) {
              auto* q = static_cast<Query*>(user);
              if (info && !end) q->rate = info->sample_spec.rate;
              if (end) q->answered = true;
            },
            &query);
        if (!operation) break;
        continue;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  }
  if (operation) {
    pa_operation_cancel(operation);
    pa_operation_unref(operation);
  }
  if (context) {
    pa_context_disconnect(context);
    pa_context_unref(context);
  }
  pa_mainloop_free(mainloop);
  return query.rate;
}

}  // namespace tolvaran
