#pragma once

#include <string>

enum class MessageBoxIcon { kNone, kWarning, kInformation, kError };

// A notice to the user that never blocks the caller, a host's audio or its window: shown by a
// program of its own (any number at once), or on standard error without a display.
void ShowMessageBox(const std::string& title, const std::string& body, MessageBoxIcon icon);
