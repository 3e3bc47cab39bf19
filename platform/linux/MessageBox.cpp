#include "platform/MessageBox.h"

#include <cstdio>

// Without a display toolkit of our own yet, the notice goes to standard error: a headless host
// must never be stopped by a dialog.
void ShowMessageBox(const std::string& title, const std::string& body, MessageBoxIcon) {
  std::fprintf(stderr, "%s: %s\n", title.c_str(), body.c_str());
}
