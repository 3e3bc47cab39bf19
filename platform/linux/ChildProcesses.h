#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// Programs the plug-in starts inside its host's process: spawned from an argv (never a shell)
// and reaped by their own ids only, so the host's own children are left alone (no SIGCHLD
// handler, no wait for any child). A host that ignores SIGCHLD reaps them itself; that is fine
// too.
namespace ChildProcesses {

// Starts argv[0] from PATH with standard input and error on /dev/null and standard output on
// outputFd (or /dev/null when it is -1). The process id, or -1 when it could not be started.
pid_t Spawn(const std::vector<std::string>& argv, int outputFd);
// Starts a program that nobody waits for; a thread of ours reaps it soon after it ends. False
// when it could not be started.
bool SpawnDetached(const std::vector<std::string>& argv);
// Reaps pid if it has ended, else hands it to the detached ones.
void ReapOrDetach(pid_t pid);
// Kills pid and waits for it.
void KillAndReap(pid_t pid);

}  // namespace ChildProcesses
