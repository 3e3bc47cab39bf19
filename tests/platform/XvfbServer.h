#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

// A private X server for one test: Xvfb on the first free display, which it names itself.
class XvfbServer {
 public:
  explicit XvfbServer(std::vector<std::string> screens = {"-screen", "0", "1600x1200x24"}) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return;
    mPid = fork();
    if (mPid == 0) {
      dup2(fds[1], 3);
      std::vector<std::string> args = {"Xvfb", "-displayfd", "3", "-nolisten", "tcp", "-noreset"};
      args.insert(args.end(), screens.begin(), screens.end());
      std::vector<char*> argv;
      for (std::string& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      const int devnull = open("/dev/null", O_WRONLY);
      dup2(devnull, 1);
      dup2(devnull, 2);
      execvp("Xvfb", argv.data());
      _exit(127);
    }
    close(fds[1]);
    std::string number;
    pollfd ready{fds[0], POLLIN, 0};
    char c = 0;
    while (poll(&ready, 1, 10000) == 1 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (!number.empty()) mDisplay = ":" + number;
  }
  ~XvfbServer() { Kill(); }
  XvfbServer(const XvfbServer&) = delete;
  XvfbServer& operator=(const XvfbServer&) = delete;

  // ":N", or empty when the server did not start.
  const std::string& Display() const { return mDisplay; }
  void Kill() {
    if (mPid <= 0) return;
    kill(mPid, SIGKILL);
    waitpid(mPid, nullptr, 0);
    mPid = -1;
  }

 private:
  pid_t mPid = -1;
  std::string mDisplay;
};
