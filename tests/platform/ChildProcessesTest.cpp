// Detached programs against real short-lived ones, with the host's own children beside them.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/linux/ChildProcesses.h"

extern char** environ;

namespace {

// Our children, running or zombies, from the process table.
std::vector<pid_t> Children() {
  std::vector<pid_t> children;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
    const std::string name = entry.path().filename();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream in(entry.path() / "stat");
    std::stringstream text;
    text << in.rdbuf();
    // pid (comm) state ppid ...: the name may hold spaces and parentheses.
    const std::string stat = text.str();
    const size_t close = stat.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream fields(stat.substr(close + 1));
    char state = 0;
    pid_t parent = 0;
    if (fields >> state >> parent && parent == getpid()) children.push_back(std::stoi(name));
  }
  return children;
}

std::ptrdiff_t Threads() {
  const std::filesystem::directory_iterator tasks("/proc/self/task");
  return std::distance(begin(tasks), end(tasks));
}

template <class Condition>
bool Eventually(Condition condition) {
  for (int i = 0; i < 500; ++i) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return condition();
}

TEST(ChildProcessesTest, DetachedProgramsFromSeveralThreadsAreReapedWithoutAnotherCall) {
  // A sanitizer starts a thread of its own with the first one of the program's.
  std::thread([] {}).join();
  const std::ptrdiff_t threadsBefore = Threads();
  // The host's own child, ended and not yet waited for by the host.
  pid_t hostChild = -1;
  char program[] = "true";
  char* argv[] = {program, nullptr};
  ASSERT_EQ(posix_spawnp(&hostChild, program, nullptr, nullptr, argv, environ), 0);

  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([t] {
      for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(ChildProcesses::SpawnDetached({"true"}));
        EXPECT_TRUE(ChildProcesses::SpawnDetached({"sleep", t % 2 ? "0.3" : "0.1"}));
      }
    });
  }
  for (std::thread& thread : threads) thread.join();

  // Nothing calls in any more; only the host's child is left, for the host.
  EXPECT_TRUE(Eventually([&] { return Children() == std::vector<pid_t>{hostChild}; }));
  int status = -1;
  ASSERT_EQ(waitpid(hostChild, &status, WNOHANG), hostChild);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  // And the reaper is gone with the last of them.
  EXPECT_TRUE(Eventually([&] { return Threads() == threadsBefore; }));

  // It comes back for the next one.
  ASSERT_TRUE(ChildProcesses::SpawnDetached({"sleep", "0.1"}));
  EXPECT_TRUE(Eventually([] { return Children().empty(); }));
}

}  // namespace
