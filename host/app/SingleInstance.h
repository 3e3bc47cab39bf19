// One Tolvaran per user: a lock file and a local socket in the user's runtime directory.
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QString>

#include <memory>

namespace tolvaran {

// UI thread. Holds the lock and listens on the socket for as long as it lives.
class SingleInstance {
 public:
  // directory: where lock and socket live; empty for $XDG_RUNTIME_DIR (Qt's runtime location).
  explicit SingleInstance(const QString& directory = QString());

  // True when this process is the one instance: the lock is taken (a lock left by a dead process
  // is taken over), and only then a stale socket is removed and listened on again.
  bool acquire();

  QString lock_path() const;
  QString socket_path() const;

 private:
  QString directory_{};
  std::unique_ptr<QLockFile> lock_{};
  QLocalServer server_{};
};

}  // namespace tolvaran
