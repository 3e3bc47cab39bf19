#pragma once

#include <stdlib.h>

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

// Points the registry store at fresh temporary folders (under base) for the object's lifetime,
// then back at whatever it was before.
class TemporaryConfig {
 public:
  explicit TemporaryConfig(const std::string& base = "/tmp")
      : savedUser(Get("XDG_CONFIG_HOME")), savedSystem(Get("XDG_CONFIG_DIRS")) {
    std::string pattern = base + "/varnis-config-XXXXXX";
    const char* made = mkdtemp(pattern.data());
    if (!made) throw std::runtime_error("cannot create a temporary folder in " + base);
    root = made;
    user = root / "user";
    system = root / "system";
    std::filesystem::create_directories(system / "quillmore");
    setenv("XDG_CONFIG_HOME", user.c_str(), 1);
    setenv("XDG_CONFIG_DIRS", system.c_str(), 1);
  }
  ~TemporaryConfig() {
    Restore("XDG_CONFIG_HOME", savedUser);
    Restore("XDG_CONFIG_DIRS", savedSystem);
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
  }
  TemporaryConfig(const TemporaryConfig&) = delete;
  TemporaryConfig& operator=(const TemporaryConfig&) = delete;

  std::filesystem::path UserStore() const { return user / "quillmore" / "registry"; }
  std::filesystem::path SystemStore() const { return system / "quillmore" / "registry"; }

  std::optional<std::string> savedUser;
  std::optional<std::string> savedSystem;
  std::filesystem::path root;
  std::filesystem::path user;
  std::filesystem::path system;

 private:
  static std::optional<std::string> Get(const char* name) {
    const char* value = getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
  }
  static void Restore(const char* name, const std::optional<std::string>& value) {
    if (value) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }
};
