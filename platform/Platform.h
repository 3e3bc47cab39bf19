#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/ChildWindow.h"
#include "platform/FileChooser.h"
#include "platform/MessageBox.h"

// What the editor needs of the operating system, handed to the editor root as one object, so
// tests give it a scripted twin (platform/headless).
class Platform {
 public:
  virtual ~Platform() = default;
  // The editor's window inside the host's window; null when it cannot be made.
  virtual std::unique_ptr<ChildWindow> OpenWindow(std::uint64_t parent, std::int32_t width,
                                                  std::int32_t height) = 0;
  virtual std::unique_ptr<FileChooser> CreateChooser() = 0;
  // Shows a notice without waiting for it to be closed.
  virtual void ShowMessageBox(const std::string& title, const std::string& body, MessageBoxIcon icon) = 0;
  // Opens a document with the desktop's program for it.
  virtual void OpenDocument(const std::string& path) = 0;
  virtual std::int64_t GetTimerTick() = 0;
};

// The real one: X11 windows, zenity dialogs, xdg-open.
Platform& GetSystemPlatform();
