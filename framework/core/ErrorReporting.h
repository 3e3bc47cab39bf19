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

inline constexpr const char* kInsufficientMemory = "There is insufficient memory available.";

// The texts a failure is reported with: one pair when memory ran out, one for any other failure.
// A null text is reported as null.
struct FailureTexts {
  const char* outOfMemoryMessage{nullptr};
  const char* outOfMemoryDetail{nullptr};
  const char* otherMessage{nullptr};
  const char* otherDetail{nullptr};
};

// Reports the exception being handled as an error with code 0, in the texts for its kind. Meant
// for catch handlers; outside one it reports the other failure's texts.
void ReportCaughtFailure(PluginCoreInterface* core, const FailureTexts& texts);

// The message box's body for these arguments.
std::string ErrorMessageBody(const char* message, const char* detail, std::int32_t code);
