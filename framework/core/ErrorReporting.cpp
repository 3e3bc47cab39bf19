#include "framework/core/ErrorReporting.h"

#include <cinttypes>
#include <cstdio>
#include <exception>
#include <new>

#include "framework/core/PluginCoreInterface.h"
#include "framework/core/PluginMetaClass.h"
#include "framework/core/PluginUIRootInterface.h"
#include "platform/MessageBox.h"

namespace {

bool IsOutOfMemory(const std::exception_ptr& failure) {
  if (!failure) return false;
  try {
    std::rethrow_exception(failure);
  } catch (const std::bad_alloc&) {
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace

std::string ErrorMessageBody(const char* message, const char* detail, std::int32_t code) {
  const std::string m = message ? message : "";
  char line[1024];
  if (code != 0 && detail) {
    std::snprintf(line, sizeof line, "%s : %" PRId32 "    ", detail, code);
    return m + "\n\n" + line + "\n\n";
  }
  if (code != 0) {
    std::snprintf(line, sizeof line, " (%" PRId32 ")        ", code);
    return "\n" + m + line + "\n\n";
  }
  if (detail) return m + "\n\n" + detail + "\n\n";
  return "\n" + m + "        " + "\n\n";
}

void ShowErrorMessageBox(PluginCoreInterface*, const char* message, const char* detail, std::int32_t code,
                         std::int32_t type) {
  std::string title = "Quillmore: ";
  if (const ZEBPluginMetaClass* metaClass = GetPluginMetaClass()) title += metaClass->GetProductName();
  const MessageBoxIcon icon = type == kErrorWarning       ? MessageBoxIcon::kWarning
                              : type == kErrorInformation ? MessageBoxIcon::kInformation
                              : type == kErrorError       ? MessageBoxIcon::kError
                                                          : MessageBoxIcon::kNone;
  ShowMessageBox(title, ErrorMessageBody(message, detail, code), icon);
}

void ReportError(PluginCoreInterface* core, const char* message, const char* detail, std::int32_t code,
                 std::int32_t type) {
  PluginUIRootInterface* root = core ? core->GetUIRoot() : nullptr;
  if (root && root->IsOpen() && root->ShowError(message, detail, code, type)) return;
  ShowErrorMessageBox(core, message, detail, code, type);
}

void ReportCaughtFailure(PluginCoreInterface* core, const FailureTexts& texts) {
  if (IsOutOfMemory(std::current_exception())) {
    ReportError(core, texts.outOfMemoryMessage, texts.outOfMemoryDetail, 0, kErrorError);
  } else {
    ReportError(core, texts.otherMessage, texts.otherDetail, 0, kErrorError);
  }
}
