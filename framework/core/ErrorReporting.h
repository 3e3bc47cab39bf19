#pragma once

#include <cstdint>
#include <string>

class PluginCoreInterface;

enum ErrorType : std::int32_t { kErrorWarning = 0, kErrorInformation = 1, kErrorError = 2 };

// The one place where the plug-in shows a failure to the user: inside the open editor, else in a
// message box. core, message and detail may be null.
void ReportError(PluginCoreInterface* core, const char* message, const char* detail, std::int32_t code,
                 std::int32_t type);
void ShowErrorMessageBox(PluginCoreInterface* core, const char* message, const char* detail,
                         std::int32_t code, std::int32_t type);

// The message box's body for these arguments.
std::string ErrorMessageBody(const char* message, const char* detail, std::int32_t code);
