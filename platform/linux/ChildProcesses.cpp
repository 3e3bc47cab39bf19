#include "platform/linux/ChildProcesses.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

extern char** environ;

namespace ChildProcesses {

namespace {

// How often the reaper looks for ended programs while there are any.
constexpr std::chrono::milliseconds kReapPeriod{100};

bool HasEnded(pid_t pid) {
  int status = 0;
  pid_t result = 0;
  do {
    result = waitpid(pid, &status, WNOHANG);
  } while (result < 0 && errno == EINTR);
  return result != 0;  // reaped, or not ours to reap any more (SIGCHLD ignored)
}

// Detached programs still running, reaped by a thread of ours that runs only while there are
// any, so none stays a zombie until some later call into the plug-in. Any thread may add one.
class Detached {
 public:
  // At unload the thread stops; programs still shown are left to the host.
  ~Detached() {
    std::unique_lock<std::mutex> lock(mMutex);
    mStopping = true;
    mWake.notify_all();
    lock.unlock();
    if (mThread.joinable()) mThread.join();
    lock.lock();
    ReapEnded();
  }

  void Add(pid_t pid) {
    const std::lock_guard<std::mutex> lock(mMutex);
    ReapEnded();  // in case no thread could be started for earlier ones
    mPids.push_back(pid);
    if (mRunning || mStopping) return;
    // A thread that stopped returns right after saying so.
    if (mThread.joinable()) mThread.join();
    mRunning = StartThread();
  }

 private:
  // With the mutex held; never waits.
  void ReapEnded() { mPids.erase(std::remove_if(mPids.begin(), mPids.end(), HasEnded), mPids.end()); }

  bool StartThread() {
    // The thread takes none of the host's signals.
    sigset_t all;
    sigset_t saved;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &saved);
    bool started = true;
    try {
      mThread = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
      started = false;
    }
    pthread_sigmask(SIG_SETMASK, &saved, nullptr);
    return started;
  }

  void Run() {
    std::unique_lock<std::mutex> lock(mMutex);
    for (;;) {
      ReapEnded();
      if (mPids.empty() || mStopping) break;
      mWake.wait_for(lock, kReapPeriod, [this] { return mStopping; });
    }
    mRunning = false;
  }

  std::mutex mMutex;
  std::condition_variable mWake;
  std::vector<pid_t> mPids;
  std::thread mThread;
  bool mRunning = false;
  bool mStopping = false;
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

void ReapOrDetach(pid_t pid) {
  if (!HasEnded(pid)) DetachedPrograms().Add(pid);
}

void KillAndReap(pid_t pid) {
  kill(pid, SIGKILL);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace ChildProcesses
