#pragma once

#include <sys/types.h>

#include <cstddef>
#include <memory>
#include <string>

#include "platform/FileChooser.h"

// File dialogs shown by zenity. Its standard output is read through a non-blocking pipe at each
// Poll; the answer is what it printed, not its exit status (a host may ignore SIGCHLD). Without
// a display, without zenity, or past kMaxOutput bytes of output the answer is a cancel.
class ZenityChooser final : public FileChooser {
 public:
  static constexpr size_t kMaxOutput = size_t{16} << 20;

  ZenityChooser() = default;
  ~ZenityChooser() override { Cancel(); }
  ZenityChooser(const ZenityChooser&) = delete;
  ZenityChooser& operator=(const ZenityChooser&) = delete;

  bool Begin(const FileChooserRequest& request, FileChosen done) override;
  void Poll() override;
  void Cancel() override;
  bool IsRunning() const override { return static_cast<bool>(mDone); }

 private:
  void Finish(bool answered);

  FileChosen mDone;
  pid_t mPid = -1;
  int mOutput = -1;
  std::string mText;
};
