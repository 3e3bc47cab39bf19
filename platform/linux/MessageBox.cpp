#include "platform/MessageBox.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/linux/ChildProcesses.h"

namespace {

const char* DialogKind(MessageBoxIcon icon) {
  switch (icon) {
    case MessageBoxIcon::kWarning:
      return "--warning";
    case MessageBoxIcon::kError:
      return "--error";
    case MessageBoxIcon::kInformation:
    case MessageBoxIcon::kNone:
      break;
  }
  return "--info";
}

}  // namespace

// Shown by zenity and never waited for, so the host's window and audio go on; standard error
// stands in when there is no display or no zenity.
void ShowMessageBox(const std::string& title, const std::string& body, MessageBoxIcon icon) {
  std::vector<std::string> arguments = {"zenity", DialogKind(icon), "--title=" + title, "--text=" + body,
                                        "--no-markup"};
  // An empty icon name takes the dialog's own icon away.
  if (icon == MessageBoxIcon::kNone) arguments.push_back("--icon-name=");
  const char* display = std::getenv("DISPLAY");
  if (display && *display && ChildProcesses::SpawnDetached(arguments)) return;
  std::fprintf(stderr, "%s: %s\n", title.c_str(), body.c_str());
}
