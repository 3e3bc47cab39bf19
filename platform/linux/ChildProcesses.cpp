#include "platform/linux/ChildProcesses.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <mutex>

extern char** environ;

namespace ChildProcesses {

namespace {

// Detached programs still running; any thread may start one.
struct Detached {
  std::mutex mutex;
  std::vector<pid_t> pids;

  // Reaps what has ended when the library unloads; never waits for a notice still shown.
  ~Detached() { Reap(); }

  void Reap() {
    const std::lock_guard<std::mutex> lock(mutex);
    pids.erase(std::remove_if(pids.begin(), pids.end(), [](pid_t pid) { return HasEnded(pid); }), pids.end());
  }

  static bool HasEnded(pid_t pid) {
    int status = 0;
    pid_t result = 0;
    do {
      result = waitpid(pid, &status, WNOHANG);
    } while (result < 0 && errno == EINTR);
    return result != 0;  // reaped, or not ours to reap any more (SIGCHLD ignored)
  }
};

Detached& DetachedPrograms() {
  static Detached detached;
  return detached;
}

}  // namespace

pid_t Spawn(const std::vector<std::string>& argv, int outputFd) {
  if (argv.empty()) return -1;
  std::vector<char*> arguments;
  for (const std::string& argument : argv) arguments.push_back(const_cast<char*>(argument.c_str()));
  arguments.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  posix_spawn_file_actions_init(&actions);
  posix_spawnattr_init(&attributes);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  if (outputFd >= 0) {
    posix_spawn_file_actions_adddup2(&actions, outputFd, STDOUT_FILENO);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  }
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  // The program starts with default signals and none blocked, whatever the host set.
  sigset_t none;
  sigemptyset(&none);
  sigset_t defaults;
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGPIPE);
  sigaddset(&defaults, SIGCHLD);
  sigaddset(&defaults, SIGINT);
  sigaddset(&defaults, SIGTERM);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &defaults);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

  ReapFinished();
  pid_t pid = -1;
  const int result = posix_spawnp(&pid, arguments[0], &actions, &attributes, arguments.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  return result == 0 ? pid : -1;
}

bool SpawnDetached(const std::vector<std::string>& argv) {
  const pid_t pid = Spawn(argv, -1);
  if (pid < 0) return false;
  ReapOrDetach(pid);
  return true;
}

void ReapFinished() { DetachedPrograms().Reap(); }

void ReapOrDetach(pid_t pid) {
  if (Detached::HasEnded(pid)) return;
  Detached& detached = DetachedPrograms();
  const std::lock_guard<std::mutex> lock(detached.mutex);
  detached.pids.push_back(pid);
}

void KillAndReap(pid_t pid) {
  kill(pid, SIGKILL);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace ChildProcesses
