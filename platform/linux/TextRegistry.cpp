// The registry as a small text store.
//
// The user's store is $XDG_CONFIG_HOME/quillmore/registry (else ~/.config/quillmore/registry);
// read-only stores are quillmore/registry under each folder of $XDG_CONFIG_DIRS (else /etc/xdg),
// so an installer can provide values such as the default settings folder. A store holds one
// value per line:
//
//     KEY PATH <TAB> VALUE NAME <TAB> VALUE
//
// where an empty value name is the key's default value; of two lines for one value the later
// counts. In all three fields a backslash escapes a backslash (\\), a tab (\t), a line feed (\n)
// and a carriage return (\r); any other escape, a line with other than three fields, or a zero
// byte makes the whole store corrupt. Lines starting with # are comments. A store holds a few
// folders, so one over kMaxStoreSize is not read: it would cost every dialog a long pause.
//
// A damaged store (corrupt or too large) reads as empty, and the next write sets it aside (renamed
// with a ".corrupt.<time>" suffix) once the new store is written whole, just before the new one is
// renamed in. Anything else that cannot be read is no damage and is left alone, making writes fail:
// a store the system failed to read (no descriptor or memory free, an I/O error, no permission)
// and anything but a regular file at the store's place. So a write leaves either the new store
// whole or the old one untouched. Writes are made under an exclusive flock of a lock file beside
// the store, into a temporary file renamed over it; the lock is only tried, never waited for,
// since writers run inside a host's user-interface thread.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <map>
#include <string_view>
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

// The plain text of an escaped field; false for an escape the format lacks.
bool Unescape(std::string_view text, std::string& plain) {
  plain.clear();
  for (;;) {
    const size_t slash = text.find('\\');
    plain.append(text.substr(0, slash));
    if (slash == std::string_view::npos) return true;
    if (slash + 1 == text.size()) return false;
    switch (text[slash + 1]) {
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
    text.remove_prefix(slash + 2);
  }
}

// Calls visit(key, name, value) for every value line in order; false, having stopped, when the text
// is not a well-formed store.
template <typename Visit>
bool Scan(std::string_view text, Visit&& visit) {
  if (text.find('\0') != std::string_view::npos) return false;
  std::string key, name, value;  // reused: no allocation per line once they are long enough
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.empty() || line[0] == '#') continue;
    const size_t first = line.find('\t');
    const size_t second = first == std::string_view::npos ? first : line.find('\t', first + 1);
    if (second == std::string_view::npos || line.find('\t', second + 1) != std::string_view::npos)
      return false;
    if (!Unescape(line.substr(0, first), key) ||
        !Unescape(line.substr(first + 1, second - first - 1), name) ||
        !Unescape(line.substr(second + 1), value)) {
      return false;
    }
    visit(key, name, value);
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

// What stands at a store's place.
enum class Found {
  kNothing,
  kText,      // a regular file of at most kMaxStoreSize bytes, read whole
  kTooLarge,  // a regular file over kMaxStoreSize bytes
  kOther,     // a folder, a device, a path that cannot be looked at, a file that was not read
};

Found ReadStore(const std::string& path, std::string& text) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return errno == ENOENT ? Found::kNothing : Found::kOther;
  if (!S_ISREG(info.st_mode)) return Found::kOther;
  switch (Files::LoadFile(path, text, kMaxStoreSize)) {
    case Files::LoadResult::kRead:
      return Found::kText;
    case Files::LoadResult::kTooLarge:
      return Found::kTooLarge;
    case Files::LoadResult::kNotAFile:
    case Files::LoadResult::kFailed:
      break;
  }
  return Found::kOther;
}

std::optional<std::string> Lookup(const std::string& store, const std::string& keyPath,
                                  const std::string& valueName) {
  std::string text;
  if (ReadStore(store, text) != Found::kText) return std::nullopt;
  std::optional<std::string> found;
  const bool wellFormed =
      Scan(text, [&](const std::string& key, const std::string& name, const std::string& value) {
        if (key == keyPath && name == valueName) found = value;
      });
  return wellFormed ? found : std::nullopt;
}

// Renames the store to a name no earlier copy has: that name, or empty when it stays in place.
std::string SetAside(const std::string& store) {
  const std::string aside = store + ".corrupt." + std::to_string(static_cast<long long>(std::time(nullptr)));
  // Only writers holding the lock set a store aside, so a free name stays free until the rename.
  for (int copy = 0; copy < 1000; ++copy) {
    const std::string name = copy == 0 ? aside : aside + "." + std::to_string(copy);
    struct stat info {};
    if (lstat(name.c_str(), &info) == 0) continue;
    return errno == ENOENT && rename(store.c_str(), name.c_str()) == 0 ? name : std::string();
  }
  return {};
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

std::string StoreFolder() {
  std::string base = EnvironmentOr("XDG_CONFIG_HOME", "");
  if (base.empty() || base[0] != '/') {
    const std::string home = EnvironmentOr("HOME", "");
    if (home.empty()) return {};
    base = home + "/.config";
  }
  return base + "/" + kStoreFolder;
}

std::string MakeStoreFolder() {
  const std::string folder = StoreFolder();
  if (folder.empty()) return {};
  const size_t parent = folder.rfind('/');
  if (parent != std::string::npos && parent > 0) Files::MakeDirectory(folder.substr(0, parent));
  return Files::MakeDirectory(folder) ? folder : std::string();
}

std::optional<std::string> ReadString(const std::string& keyPath, const std::string& valueName) {
  const std::string user = StoreFolder();
  if (!user.empty()) {
    if (auto value = Lookup(user + "/" + kStoreFile, keyPath, valueName)) return value;
  }
  for (const std::string& store : SystemStores()) {
    if (auto value = Lookup(store, keyPath, valueName)) return value;
  }
  return std::nullopt;
}

bool WriteString(const std::string& keyPath, const std::string& valueName, const std::string& value) {
  const std::string folder = MakeStoreFolder();
  if (folder.empty()) return false;
  StoreLock lock(folder + "/" + kStoreFile + ".lock");
  if (!lock.Locked()) return false;
  const std::string store = folder + "/" + kStoreFile;
  std::string text;
  Values values;
  const Found found = ReadStore(store, text);
  if (found == Found::kOther) return false;
  const bool usable =
      found == Found::kNothing ||
      (found == Found::kText &&
       Scan(text, [&values](const std::string& key, const std::string& name, const std::string& v) {
         values[{key, name}] = v;
       }));
  if (!usable) values.clear();
  values[{keyPath, valueName}] = value;
  text = Format(values);
  // Never write a store that the next read would refuse.
  if (text.size() > kMaxStoreSize) return false;
  Files::StagedFile staged(store, text);
  if (staged.Staged() != Files::SaveResult::kSaved) return false;
  if (usable) return staged.Replace();
  const std::string aside = SetAside(staged.Target());
  if (aside.empty()) return false;
  if (staged.Replace()) return true;
  rename(aside.c_str(), staged.Target().c_str());  // the damaged store goes back in its place
  return false;
}

}  // namespace Registry
