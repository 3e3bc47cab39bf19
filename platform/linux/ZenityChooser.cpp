#include "platform/linux/ZenityChooser.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <utility>
#include <vector>

#include "platform/linux/ChildProcesses.h"

namespace {

std::vector<std::string> DialogArguments(const FileChooserRequest& request) {
  std::vector<std::string> argv = {"zenity", "--file-selection", "--title=" + request.title};
  if (request.save) {
    argv.push_back("--save");
    argv.push_back("--confirm-overwrite");
  }
  std::string start = request.directory;
  if (!start.empty() && start.back() != '/') start += '/';
  start += request.suggestedName;
  if (!start.empty()) argv.push_back("--filename=" + start);
  for (const FileFilter& filter : request.filters) {
    argv.push_back("--file-filter=" + filter.name + " | " + filter.pattern);
  }
  return argv;
}

}  // namespace

bool ZenityChooser::Begin(const FileChooserRequest& request, FileChosen done) {
  if (IsRunning()) return false;
  mDone = std::move(done);
  mText.clear();
  const char* display = std::getenv("DISPLAY");
  int pipeFds[2] = {-1, -1};
  if (!display || !*display || pipe2(pipeFds, O_CLOEXEC) != 0) return true;  // a cancel at Poll
  // Only our end is non-blocking: zenity's writes must wait for us, not fail.
  fcntl(pipeFds[0], F_SETFL, O_NONBLOCK);
  mPid = ChildProcesses::Spawn(DialogArguments(request), pipeFds[1]);
  close(pipeFds[1]);
  if (mPid < 0) {
    close(pipeFds[0]);
    return true;
  }
  mOutput = pipeFds[0];
  return true;
}

void ZenityChooser::Poll() {
  if (!IsRunning()) return;
  if (mOutput < 0) {
    Finish(false);
    return;
  }
  char buffer[65536];
  for (;;) {
    const ssize_t n = read(mOutput, buffer, sizeof buffer);
    if (n > 0) {
      if (mText.size() + static_cast<size_t>(n) > kMaxOutput) {
        ChildProcesses::KillAndReap(mPid);
        mPid = -1;
        Finish(false);
        return;
      }
      mText.append(buffer, static_cast<size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN) return;  // still up
    break;                                 // the dialog closed its output: it has ended
  }
  ChildProcesses::ReapOrDetach(mPid);
  mPid = -1;
  Finish(true);
}

void ZenityChooser::Finish(bool answered) {
  if (mOutput >= 0) close(mOutput);
  mOutput = -1;
  std::optional<std::string> path;
  const std::string line = mText.substr(0, mText.find('\n'));
  if (answered && !line.empty()) path = line;
  mText.clear();
  mText.shrink_to_fit();
  // Taken out first: the answer may start the next dialog.
  const FileChosen done = std::move(mDone);
  mDone = nullptr;
  done(path);
}

void ZenityChooser::Cancel() {
  if (mPid > 0) ChildProcesses::KillAndReap(mPid);
  mPid = -1;
  if (mOutput >= 0) close(mOutput);
  mOutput = -1;
  mText.clear();
  mDone = nullptr;
}
