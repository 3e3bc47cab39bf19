#include "host/app/TvTrayMenu.h"

#include "host/app/Addresses.h"
#include "host/app/TvDataBus.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QIcon>
#include <QMessageBox>
#include <QUrl>

static void init_tolvaran_resources() { Q_INIT_RESOURCE(tolvaran); }

namespace tolvaran {

namespace {

void open_address(const QString& address) {
  if (!address.isEmpty()) QDesktopServices::openUrl(QUrl::fromUserInput(address));
}

}  // namespace

TvTrayMenu::TvTrayMenu(QWidget* parent) : QMenu(parent) {
  init_tolvaran_resources();
  struct Entry {
    const char* icon;
    const char* text;
    void (TvTrayMenu::*slot)();
  };
  static const Entry entries[] = {
      {":/Tolvaran/img/main.png", u8"官网", &TvTrayMenu::office_web},
      {":/Tolvaran/img/bbs.png", u8"论坛", &TvTrayMenu::office_bbs},
      {":/Tolvaran/img/about.png", u8"关于", &TvTrayMenu::about_app},
      {":/Tolvaran/img/left.png", u8"左上角", &TvTrayMenu::move_to_left},
      {":/Tolvaran/img/right.png", u8"右上角", &TvTrayMenu::move_to_right},
      {":/Tolvaran/img/quit.png", u8"退出", &TvTrayMenu::quit_app},
  };
  for (const Entry& entry : entries) {
    QAction* action = addAction(QIcon(QString::fromLatin1(entry.icon)), QString::fromUtf8(entry.text));
    connect(action, &QAction::triggered, this, entry.slot);
  }
}

void TvTrayMenu::office_web() { open_address(home_page_address()); }
void TvTrayMenu::office_bbs() { open_address(forum_address()); }

void TvTrayMenu::about_app() {
  QMessageBox box;
  box.setWindowTitle(QString::fromUtf8(u8"关于"));
  box.setText(QStringLiteral("V0.0.2"));
  box.setInformativeText(
      QStringLiteral("Tolvaran shows what your speakers play in the libvarnis stereo analyser."));
  box.exec();
}

void TvTrayMenu::move_to_left() { emit TvDataBus::instance()->move_to_left_signal(); }
void TvTrayMenu::move_to_right() { emit TvDataBus::instance()->move_to_right_signal(); }
void TvTrayMenu::quit_app() { QCoreApplication::exit(0); }
void TvTrayMenu::back_to_mainwidget() {}

}  // namespace tolvaran
