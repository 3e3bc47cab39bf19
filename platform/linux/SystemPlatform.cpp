#include "platform/Clock.h"
#include "platform/Platform.h"
#include "platform/linux/ChildProcesses.h"
#include "platform/linux/XcbChildWindow.h"
#include "platform/linux/ZenityChooser.h"

namespace {

class SystemPlatform final : public Platform {
 public:
  std::unique_ptr<ChildWindow> OpenWindow(std::uint64_t parent, std::int32_t width,
                                          std::int32_t height) override {
    return OpenXcbChildWindow(parent, width, height);
  }
  std::unique_ptr<FileChooser> CreateChooser() override { return std::make_unique<ZenityChooser>(); }
  void ShowMessageBox(const std::string& title, const std::string& body, MessageBoxIcon icon) override {
    ::ShowMessageBox(title, body, icon);
  }
  // xdg-open from an argv: the path is never seen by a shell.
  void OpenDocument(const std::string& path) override {
    ChildProcesses::SpawnDetached({"xdg-open", path.compare(0, 1, "-") == 0 ? "./" + path : path});
  }
  std::int64_t GetTimerTick() override { return Clock::GetTimerTick(); }
};

}  // namespace

Platform& GetSystemPlatform() {
  static SystemPlatform platform;
  return platform;
}
