#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

// Keeps reconfigurations and the audio hook apart. The audio thread enters through an Entry and
// never waits: while the gate is shut its entry is refused. Any other thread shuts the gate with
// PauseOrThrow, which waits, bounded, until the hook has left. A busy scope marks work that
// changes the instance's state, so reports that work causes are not taken for the user's.
class AudioGate {
 public:
  // The audio thread's claim on the hook for one call; Entered() is false while the gate is shut.
  class Entry {
   public:
    explicit Entry(AudioGate& gate);
    ~Entry();
    Entry(const Entry&) = delete;
    Entry& operator=(const Entry&) = delete;
    bool Entered() const { return mEntered; }

   private:
    AudioGate& mGate;
    bool mEntered = false;
  };

  // While alive, the hook is not running and will not start: what the audio thread reads may be
  // rebuilt.
  class [[nodiscard]] Pause {
   public:
    Pause(Pause&& other) noexcept;
    ~Pause();
    Pause(const Pause&) = delete;
    Pause& operator=(const Pause&) = delete;
    Pause& operator=(Pause&&) = delete;

   private:
    friend class AudioGate;
    explicit Pause(AudioGate* gate) : mGate(gate) {}
    AudioGate* mGate = nullptr;
  };

  // While alive, the instance counts as busy.
  class [[nodiscard]] BusyScope {
   public:
    BusyScope(BusyScope&& other) noexcept;
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
    BusyScope& operator=(BusyScope&&) = delete;

   private:
    friend class AudioGate;
    explicit BusyScope(AudioGate* gate) : mGate(gate) {}
    AudioGate* mGate = nullptr;
  };

  static constexpr std::chrono::milliseconds kDefaultPauseLimit{2000};

  explicit AudioGate(std::chrono::milliseconds pauseLimit = kDefaultPauseLimit) : mPauseLimit(pauseLimit) {}
  AudioGate(const AudioGate&) = delete;
  AudioGate& operator=(const AudioGate&) = delete;

  // Not the audio thread. Shuts the gate and waits for the hook to leave; when it has not left
  // within the limit, opens the gate again and throws AppFrame::TimeOut.
  Pause PauseOrThrow();
  BusyScope Busy() {
    mBusy.fetch_add(1);
    return BusyScope(this);
  }
  bool IsBusy() const { return mBusy.load() > 0; }

  // The suspend count: raising returns the new value; lowering stops at 0 and returns the value
  // before.
  std::int32_t Suspend(bool suspend);
  bool IsInProcess() const { return mInProcess.load(); }

 private:
  const std::chrono::milliseconds mPauseLimit = kDefaultPauseLimit;
  std::atomic<std::int32_t> mSuspendCount{0};
  std::atomic<bool> mInProcess{false};
  std::atomic<std::int32_t> mBusy{0};
};
