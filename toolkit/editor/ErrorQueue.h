#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

// Failure reports from threads other than the editor's, kept for the editor's next idle. It also
// holds the editor's open flag, so that opening and closing are ordered with the reports: none is
// kept after the close whose drain would have shown it. Any thread.
class ErrorQueue {
 public:
  struct Report {
    std::string message{};
    std::string detail{};
    bool hasMessage{false};
    bool hasDetail{false};
    std::int32_t code{0};
    std::int32_t type{0};

    // Null where the report had none.
    const char* Message() const { return hasMessage ? message.c_str() : nullptr; }
    const char* Detail() const { return hasDetail ? detail.c_str() : nullptr; }
  };

  bool IsOpen() const { return mOpen.load(); }
  void SetOpen(bool open);

  // Keeps the report while open and answers true; closed, keeps nothing and answers false.
  // beforeKeeping runs once the report is to be kept, with the close held off until it returns.
  template <typename BeforeKeeping>
  bool Push(const char* message, const char* detail, std::int32_t code, std::int32_t type,
            BeforeKeeping&& beforeKeeping) {
    std::lock_guard<std::mutex> lock(mMutex);
    if (!mOpen) return false;
    beforeKeeping();
    mReports.push_back(Report{message ? message : "", detail ? detail : "", message != nullptr,
                              detail != nullptr, code, type});
    return true;
  }

  // The reports kept until now, oldest first; the queue is empty afterwards.
  std::vector<Report> TakeAll();

 private:
  std::atomic<bool> mOpen{false};  // read by reports from any thread
  std::mutex mMutex{};             // guards the reports, and the open flag's changes
  std::vector<Report> mReports{};
};
