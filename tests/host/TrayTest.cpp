// The tray menu, the start-up request and the program's addresses, on the offscreen platform.
#include "host/app/TvDataBus.h"
#include "host/app/TvHttpClient.h"
#include "host/app/TvTrayMenu.h"
#include "host/app/TvTrayWidget.h"
#include "tests/host/TestApplication.h"
#include "tests/host/UrlCatcher.h"

#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

using namespace tolvaran;

namespace {

TEST(TrayMenu, SixActionsInOrderEachWithItsIconAndText) {
  test_application();
  TvTrayMenu menu;
  const QList<QAction*> actions = menu.actions();
  const char* const texts[] = {u8"官网", u8"论坛", u8"关于", u8"左上角", u8"右上角", u8"退出"};
  ASSERT_EQ(actions.size(), 6);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(actions[i]->text(), QString::fromUtf8(texts[i])) << i;
    EXPECT_FALSE(actions[i]->icon().isNull()) << i;
    EXPECT_FALSE(actions[i]->icon().pixmap(16, 16).isNull()) << "icon " << i << " drawn from the resources";
  }
  TvTrayWidget tray;
  EXPECT_FALSE(tray.icon().isNull());
  EXPECT_EQ(tray.contextMenu(), tray.menu());
}

// The menu's back_to_mainwidget and the icon's tray_double_click are slots that nothing connects
// and that do nothing: a double click on the icon changes nothing.
TEST(TrayMenu, TheEmptySlotsAreThereAndChangeNothing) {
  test_application();
  TvTrayWidget tray;
  int moves = 0;
  QObject::connect(TvDataBus::instance(), &TvDataBus::move_to_left_signal, &tray, [&moves] { ++moves; });
  QObject::connect(TvDataBus::instance(), &TvDataBus::move_to_right_signal, &tray, [&moves] { ++moves; });
  EXPECT_TRUE(QMetaObject::invokeMethod(tray.menu(), "back_to_mainwidget"));
  EXPECT_TRUE(QMetaObject::invokeMethod(
      &tray, "tray_double_click", Q_ARG(QSystemTrayIcon::ActivationReason, QSystemTrayIcon::DoubleClick)));
  emit tray.activated(QSystemTrayIcon::DoubleClick);
  QCoreApplication::processEvents();
  EXPECT_EQ(moves, 0);
  EXPECT_EQ(tray.menu()->actions().size(), 6);
  EXPECT_FALSE(tray.menu()->isVisible());
}

TEST(TrayMenu, QuitEndsTheEventLoopWithZero) {
  test_application();
  TvTrayMenu menu;
  QTimer::singleShot(0, &menu, [&menu] { menu.actions().last()->trigger(); });
  EXPECT_EQ(QCoreApplication::exec(), 0);
}

TEST(TrayMenu, EmptyAddressesOpenNothingAndSetOnesOpen) {
  test_application();
  UrlCatcher catcher;
  for (const char* scheme : {"http", "https"})
    QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), &catcher, "open");
  TvTrayMenu menu;
  qputenv("TOLVARAN_HOME_PAGE", "");
  qputenv("TOLVARAN_FORUM", "");
  menu.office_web();
  menu.office_bbs();
  EXPECT_TRUE(catcher.opened.isEmpty());
  qputenv("TOLVARAN_HOME_PAGE", "http://home.invalid/");
  qputenv("TOLVARAN_FORUM", "http://forum.invalid/");
  menu.office_web();
  menu.office_bbs();
  ASSERT_EQ(catcher.opened.size(), 2);
  EXPECT_EQ(catcher.opened[0], QUrl(QStringLiteral("http://home.invalid/")));
  EXPECT_EQ(catcher.opened[1], QUrl(QStringLiteral("http://forum.invalid/")));
  for (const char* scheme : {"http", "https"}) QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
  qunsetenv("TOLVARAN_HOME_PAGE");
  qunsetenv("TOLVARAN_FORUM");
}

// Counts the requests a local server receives while the event loop runs for a while.
QStringList requests_received(const QByteArray& web_service_host, QTcpServer& server) {
  qputenv("TOLVARAN_WEB_SERVICE_HOST", web_service_host);
  QStringList lines;
  QObject::connect(&server, &QTcpServer::newConnection, [&] {
    QTcpSocket* socket = server.nextPendingConnection();
    QObject::connect(socket, &QTcpSocket::readyRead, [socket, &lines] {
      while (socket->canReadLine()) {
        const QString line = QString::fromLatin1(socket->readLine()).trimmed();
        if (line.startsWith(QStringLiteral("GET"))) {
          lines.push_back(line);
          socket->write("HTTP/1.1 204 No Content\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
          socket->disconnectFromHost();
        }
      }
    });
  });
  {
    tvhttpclient client;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 500) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
  qunsetenv("TOLVARAN_WEB_SERVICE_HOST");
  return lines;
}

TEST(WebClient, OneRequestWhenTheAddressIsSetNoneWhenEmpty) {
  test_application();
  QTcpServer server;
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
  const QByteArray host = "127.0.0.1:" + QByteArray::number(server.serverPort());
  EXPECT_EQ(requests_received(host, server), QStringList{QStringLiteral("GET /api/util/olvaran HTTP/1.1")});
  server.disconnect();
  EXPECT_TRUE(requests_received("", server).isEmpty());
}

}  // namespace
