// The registry as a small text store.
//
// The user's store is $XDG_CONFIG_HOME/quillmore/registry (else ~/.config/quillmore/registry);
// read-only stores are quillmore/registry under each folder of $XDG_CONFIG_DIRS (else /etc/xdg),
// so an installer can provide values such as the default settings folder. A store holds one
// value per line:
//
//     KEY PATH <TAB> VALUE NAME <TAB> VALUE
//
// where an empty value name is the key's default value. In all three fields a backslash
// escapes a backslash (\\), a tab (\t), a line feed (\n) and a carriage return (\r); any other
// escape, a line with other than three fields, or a zero byte makes the whole store corrupt.
// Lines starting with # are comments. A corrupt store reads as empty; the next write sets it
// aside (renamed with a ".corrupt" suffix) before writing a new one. Writes are made under an
// exclusive flock of a lock file beside the store, into a temporary file renamed over it; the lock
// is only tried, never waited for, since writers run inside a host's user-interface thread.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <map>
#include <utility>
#include <vector>

#include "platform/Files.h"
#include "platform/Registry.h"

namespace Registry {

namespace {

using Values = std::map<std::pair<std::string, std::string>, std::string>;

constexpr const char* kStoreFolder = "quillmore";
constexpr const char* kStoreFile = "registry";

std::string EnvironmentOr(const char* name, const std::string& fallback) {
  const char* value = std::getenv(name);
  return value && *value ? std::string(value) : fallback;
}

std::string UserFolder() {
  std::string base = EnvironmentOr("XDG_CONFIG_HOME", "");
  if (base.empty() || base[0] != '/') {
    const std::string home = EnvironmentOr("HOME", "");
    if (home.empty()) return {};
    base = home + "/.config";
  }
  return base + "/" + kStoreFolder;
}

std::vector<std::string> SystemStores() {
  std::vector<std::string> stores;
  const std::string dirs = EnvironmentOr("XDG_CONFIG_DIRS", "/etc/xdg");
  size_t start = 0;
  while (start <= dirs.size()) {
    size_t end = dirs.find(':', start);
    if (end == std::string::npos) end = dirs.size();
    const std::string dir = dirs.substr(start, end - start);
    if (!dir.empty() && dir[0] == '/') stores.push_back(dir + "/" + kStoreFolder + "/" + kStoreFile);
    start = end + 1;
  }
  return stores;
}

std::string Escape(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    switch (c) {
      case '\\':
        escaped += "\\\\";
        break;
      case '\t':
        escaped += "\\t";
        break;
      case '\n':
        escaped += "\\n";
        break;
      case '\r':
        escaped += "\\r";
        break;
      default:
        escaped += c;
        break;
    }
  }
  return escaped;
}

bool Unescape(const std::string& text, std::string& plain) {
  plain.clear();
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      plain += text[i];
      continue;
    }
    if (++i == text.size()) return false;
    switch (text[i]) {
      case '\\':
        plain += '\\';
        break;
      case 't':
        plain += '\t';
        break;
      case 'n':
        plain += '\n';
        break;
      case 'r':
        plain += '\r';
        break;
      default:
        return false;
    }
  }
  return true;
}

// False when the text is not a well-formed store.
bool Parse(const std::string& text, Values& values) {
  if (text.find('\0') != std::string::npos) return false;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    start = end + 1;
    if (line.empty() || line[0] == '#') continue;
    const size_t first = line.find('\t');
    const size_t second = first == std::string::npos ? first : line.find('\t', first + 1);
    if (second == std::string::npos || line.find('\t', second + 1) != std::string::npos) return false;
    std::string key, name, value;
    if (!Unescape(line.substr(0, first), key) ||
        !Unescape(line.substr(first + 1, second - first - 1), name) ||
        !Unescape(line.substr(second + 1), value)) {
      return false;
    }
    values[{key, name}] = value;
  }
  return true;
}

std::string Format(const Values& values) {
  std::string text = "# Quillmore registry store: KEY PATH <TAB> VALUE NAME <TAB> VALUE, backslash escapes\n";
  for (const auto& [where, value] : values) {
    text += Escape(where.first) + "\t" + Escape(where.second) + "\t" + Escape(value) + "\n";
  }
  return text;
}

std::optional<std::string> Lookup(const std::string& store, const std::string& keyPath,
                                  const std::string& valueName) {
  std::string text;
  Values values;
  if (!Files::ReadFile(store, text) || !Parse(text, values)) return std::nullopt;
  const auto found = values.find({keyPath, valueName});
  if (found == values.end()) return std::nullopt;
  return found->second;
}

class StoreLock {
 public:
  explicit StoreLock(const std::string& path) : mFd(open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
    mLocked = mFd >= 0 && flock(mFd, LOCK_EX | LOCK_NB) == 0;
  }
  ~StoreLock() {
    if (mFd >= 0) close(mFd);  // closing releases the lock
  }
  StoreLock(const StoreLock&) = delete;
  StoreLock& operator=(const StoreLock&) = delete;
  bool Locked() const { return mLocked; }

 private:
  int mFd = -1;
  bool mLocked = false;
};

}  // namespace

std::optional<std::string> ReadString(const std::string& keyPath, const std::string& valueName) {
  const std::string user = UserFolder();
  if (!user.empty()) {
    if (auto value = Lookup(user + "/" + kStoreFile, keyPath, valueName)) return value;
  }
  for (const std::string& store : SystemStores()) {
    if (auto value = Lookup(store, keyPath, valueName)) return value;
  }
  return std::nullopt;
}

bool WriteString(const std::string& keyPath, const std::string& valueName, const std::string& value) {
  const std::string folder = UserFolder();
  if (folder.empty()) return false;
  const size_t parent = folder.rfind('/');
  if (parent != std::string::npos && parent > 0) Files::MakeDirectory(folder.substr(0, parent));
  if (!Files::MakeDirectory(folder)) return false;
  StoreLock lock(folder + "/" + kStoreFile + ".lock");
  if (!lock.Locked()) return false;
  const std::string store = folder + "/" + kStoreFile;
  std::string text;
  Values values;
  if (Files::ReadFile(store, text) && !Parse(text, values)) {
    const std::string aside =
        store + ".corrupt." + std::to_string(static_cast<long long>(std::time(nullptr)));
    if (rename(store.c_str(), aside.c_str()) != 0) return false;
    values.clear();
  }
  values[{keyPath, valueName}] = value;
  return Files::WriteFileAtomically(store, Format(values));
}

}  // namespace Registry
