#include "host/capture/TvSpeakerLoopback.h"

#include "host/audio/HostEngine.h"
#include "host/capture/PulseCaptureSource.h"

#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

namespace tolvaran {

namespace {

constexpr auto kPassInterval = std::chrono::milliseconds(10);
constexpr auto kRateQueryTimeout = std::chrono::milliseconds(1000);
constexpr double kFallbackRate = 48000.0;

// As high as the system lets this thread go without asking: real-time round robin at its lowest
// level, else a better nice value. A refusal changes nothing.
void raise_capture_priority() {
  sched_param parameters{};
  parameters.sched_priority = sched_get_priority_min(SCHED_RR);
  if (pthread_setschedparam(pthread_self(), SCHED_RR, &parameters) == 0) return;
  setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), -10);
}

void print_line(const char* text) {
  std::fputs(text, stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

}  // namespace

TvSpeakerLoopback::TvSpeakerLoopback(std::unique_ptr<CaptureSource> source)
    : QThread(nullptr), source_(source ? std::move(source) : std::make_unique<PulseCaptureSource>()) {}

TvSpeakerLoopback::~TvSpeakerLoopback() { stop_capture(); }

void TvSpeakerLoopback::start_capture() {
  done_.store(false);
  start(QThread::InheritPriority);
}

void TvSpeakerLoopback::stop_capture() {
  done_.store(true);
  wait();
}

double TvSpeakerLoopback::query_mix_sample_rate() {
  const double rate = query_default_sink_rate(kRateQueryTimeout);
  return rate > 0.0 ? rate : kFallbackRate;
}

int TvSpeakerLoopback::swap_capture_buffer(const float* frames, int count) {
  current_ = current_ == &first_ ? &second_ : &first_;
  current_->resize(count);
  float* left = current_->left();
  float* right = current_->right();
  for (int i = 0; i < count; ++i) {
    left[i] = frames[2 * i];
    right[i] = frames[2 * i + 1];
  }
  return count;
}

void TvSpeakerLoopback::take(const CapturePacket& packet) {
  if (packet.count <= 0) return;
  if (packet.silent || !packet.frames) {
    current_ = current_ == &first_ ? &second_ : &first_;
    current_->resize(packet.count);
    current_->clear();
  } else {
    swap_capture_buffer(packet.frames, packet.count);
  }
  if (packet.count != kBlockFrames) print_line(u8"采样位数不一样了");
  HostEngine::instance().process_captured(current_);
  current_->clear();
}

void TvSpeakerLoopback::run() {
  raise_capture_priority();
  std::string error;
  if (!source_->open(HostEngine::instance().sample_rate(), error)) {
    print_line(("Unable to connect to the sound server: " + error).c_str());
    source_->close();
    return;
  }
  CaptureStatus status = CaptureStatus::kCapturing;
  while (status == CaptureStatus::kCapturing && !done_.load()) {
    std::this_thread::sleep_for(kPassInterval);
    status = source_->pump(*this, error);
  }
  // What arrived before the flag went up is still processed.
  if (status == CaptureStatus::kCapturing) status = source_->pump(*this, error);
  if (status == CaptureStatus::kConnectionFailed)
    print_line(("Unable to connect to the sound server: " + error).c_str());
  source_->close();
}

}  // namespace tolvaran
