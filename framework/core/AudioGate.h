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

  // A pause or a busy mark of the gate, ended when this goes.
  class [[nodiscard]] Scope {
   public:
    Scope(Scope&& other) noexcept;
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
    Scope& operator=(Scope&&) = delete;

   private:
    friend class AudioGate;
    using End = void (AudioGate::*)();
    Scope(AudioGate* gate, End end) : mGate(gate), mEnd(end) {}
    AudioGate* mGate = nullptr;
    End mEnd = nullptr;
  };

  static constexpr std::chrono::milliseconds kDefaultPauseLimit{2000};

  explicit AudioGate(std::chrono::milliseconds pauseLimit = kDefaultPauseLimit) : mPauseLimit(pauseLimit) {}
  AudioGate(const AudioGate&) = delete;
  AudioGate& operator=(const AudioGate&) = delete;

  // Not the audio thread. Shuts the gate and waits for the hook to leave; while the scope lives,
  // the hook is not running and will not start, so what the audio thread reads may be rebuilt.
  // When the hook has not left within the limit, opens the gate again and throws
  // AppFrame::TimeOut.
  Scope PauseOrThrow();
  // While the scope lives, the instance counts as busy.
  Scope Busy() {
    mBusy.fetch_add(1);
    return Scope(this, &AudioGate::EndBusy);
  }
  bool IsBusy() const { return mBusy.load() > 0; }

  // The suspend count: raising returns the new value; lowering stops at 0 and returns the value
  // before.
  std::int32_t Suspend(bool suspend);
  bool IsInProcess() const { return mInProcess.load(); }

 private:
  void EndPause() { Suspend(false); }
  void EndBusy();

  const std::chrono::milliseconds mPauseLimit = kDefaultPauseLimit;
  std::atomic<std::int32_t> mSuspendCount{0};
  std::atomic<bool> mInProcess{false};
  std::atomic<std::int32_t> mBusy{0};
};
