#include "host/vst/PluginLibrary.h"

#include <dlfcn.h>
#include <link.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <string>

namespace tolvaran {

namespace {

std::string executable_directory() {
  char path[PATH_MAX] = {};
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return {};
  std::string dir(path, static_cast<size_t>(n));
  const size_t slash = dir.rfind('/');
  return slash == std::string::npos ? std::string{} : dir.substr(0, slash + 1);
}

void* symbol_of_library(PluginLibraryHandle library, const char* name) {
  void* symbol = dlsym(library, name);
  if (!symbol) return nullptr;
  link_map* own = nullptr;
  if (dlinfo(library, RTLD_DI_LINKMAP, &own) != 0 || !own) return nullptr;
  Dl_info info{};
  link_map* owner = nullptr;
  if (dladdr1(symbol, &info, reinterpret_cast<void**>(&owner), RTLD_DL_LINKMAP) == 0) return nullptr;
  return owner == own ? symbol : nullptr;
}

}  // namespace

PluginLibraryHandle open_plugin_library(const char* file_name) {
  if (!file_name || !*file_name) return nullptr;
  constexpr int kFlags = RTLD_NOW | RTLD_LOCAL;
  if (!std::strchr(file_name, '/')) {
    const std::string dir = executable_directory();
    if (!dir.empty()) {
      const std::string beside = dir + file_name;
      if (access(beside.c_str(), F_OK) == 0) {
        if (void* library = dlopen(beside.c_str(), kFlags)) return library;
      }
    }
  }
  return dlopen(file_name, kFlags);
}

VstPluginMainProc find_plugin_entry(PluginLibraryHandle library) {
  if (!library) return nullptr;
  void* entry = symbol_of_library(library, "VSTPluginMain");
  if (!entry) entry = symbol_of_library(library, "main");
  return reinterpret_cast<VstPluginMainProc>(entry);
}

void close_plugin_library(PluginLibraryHandle library) {
  if (library) dlclose(library);
}

}  // namespace tolvaran
