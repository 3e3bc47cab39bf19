#pragma once

#include <cstdint>

// The open editor as the plug-in core sees it.
class PluginUIRootInterface {
 public:
  virtual ~PluginUIRootInterface() = default;
  virtual bool IsOpen() const = 0;
  // Shows a failure inside the editor; false when it could not, so the caller falls back to a
  // message box.
  virtual bool ShowError(const char* message, const char* detail, std::int32_t code, std::int32_t type) = 0;
};
