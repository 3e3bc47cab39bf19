#include "host/app/SingleInstance.h"

#include <QDir>
#include <QStandardPaths>

namespace tolvaran {

SingleInstance::SingleInstance(const QString& directory)
    : directory_(directory.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)
                                     : directory) {}

QString SingleInstance::lock_path() const {
  return QDir(directory_).filePath(QStringLiteral("tolvaran.lock"));
}

QString SingleInstance::socket_path() const {
  return QDir(directory_).filePath(QStringLiteral("tolvaran.socket"));
}

bool SingleInstance::acquire() {
  if (directory_.isEmpty()) return false;
  lock_ = std::make_unique<QLockFile>(lock_path());
  lock_->setStaleLockTime(0);  // a lock is stale only when its process is gone
  if (!lock_->tryLock(0)) {
    lock_.reset();
    return false;
  }
  // Ours now: a socket left behind belongs to nobody.
  QLocalServer::removeServer(socket_path());
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  server_.listen(socket_path());
  return true;
}

}  // namespace tolvaran
