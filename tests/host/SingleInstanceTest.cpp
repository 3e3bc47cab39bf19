// One instance per user: the lock, the socket, and the quit signals.
#include "host/app/QuitOnSignals.h"
#include "host/app/SingleInstance.h"
#include "tests/host/TestApplication.h"

#include <gtest/gtest.h>

#include <signal.h>

#include <QFile>
#include <QHostInfo>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTimer>

using namespace tolvaran;

namespace {

bool socket_answers(const QString& path) {
  QLocalSocket socket;
  socket.connectToServer(path);
  return socket.waitForConnected(500);
}

TEST(SingleInstance, TheSecondIsRefusedAndLeavesTheFirstsSocketAlone) {
  test_application();
  QTemporaryDir dir;
  SingleInstance first(dir.path());
  ASSERT_TRUE(first.acquire());
  EXPECT_TRUE(socket_answers(first.socket_path()));
  SingleInstance second(dir.path());
  EXPECT_FALSE(second.acquire());
  EXPECT_TRUE(socket_answers(first.socket_path())) << "the refused one removed nothing";
}

TEST(SingleInstance, AStaleSocketIsReplacedOnceTheLockIsHeld) {
  test_application();
  QTemporaryDir dir;
  SingleInstance instance(dir.path());
  {
    QFile stale(instance.socket_path());
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
  }
  ASSERT_TRUE(instance.acquire());
  EXPECT_TRUE(socket_answers(instance.socket_path()));
}

TEST(SingleInstance, ALockLeftByADeadProcessIsTakenOver) {
  test_application();
  QTemporaryDir dir;
  SingleInstance instance(dir.path());
  {
    // The lock file's own format: pid, application name, host name.
    QFile lock(instance.lock_path());
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write("2147483646\nTolvaran\n" + QHostInfo::localHostName().toUtf8() + "\n");
  }
  EXPECT_TRUE(instance.acquire());
}

TEST(QuitOnSignals, EachEndsTheEventLoopWithZero) {
  test_application();
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
    QuitOnSignals quit;
    QTimer::singleShot(0, [signal_number] { raise(signal_number); });
    EXPECT_EQ(QCoreApplication::exec(), 0) << signal_number;
  }
}

}  // namespace
