#pragma once

#include <string>

enum class MessageBoxIcon { kNone, kWarning, kInformation, kError };

// A modal notice to the user that never blocks a host's audio or freezes its window.
void ShowMessageBox(const std::string& title, const std::string& body, MessageBoxIcon icon);
