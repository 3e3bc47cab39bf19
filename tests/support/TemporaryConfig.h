#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>

// Points the registry store at fresh temporary folders for the test's lifetime.
class TemporaryConfig {
 public:
  TemporaryConfig() {
    char pattern[] = "/tmp/varnis-config-XXXXXX";
    root = mkdtemp(pattern);
    user = root / "user";
    system = root / "system";
    std::filesystem::create_directories(system / "quillmore");
    setenv("XDG_CONFIG_HOME", user.c_str(), 1);
    setenv("XDG_CONFIG_DIRS", system.c_str(), 1);
  }
  ~TemporaryConfig() {
    unsetenv("XDG_CONFIG_HOME");
    unsetenv("XDG_CONFIG_DIRS");
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
  }
  TemporaryConfig(const TemporaryConfig&) = delete;
  TemporaryConfig& operator=(const TemporaryConfig&) = delete;

  std::filesystem::path UserStore() const { return user / "quillmore" / "registry"; }
  std::filesystem::path SystemStore() const { return system / "quillmore" / "registry"; }

  std::filesystem::path root;
  std::filesystem::path user;
  std::filesystem::path system;
};
