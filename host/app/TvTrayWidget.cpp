#include "host/app/TvTrayWidget.h"

namespace tolvaran {

TvTrayWidget::TvTrayWidget() : QSystemTrayIcon(nullptr), menu_(std::make_unique<TvTrayMenu>()) {
  setIcon(QIcon(QStringLiteral(":/Tolvaran/img/logo.png")));
  setToolTip(QStringLiteral("Tolvaran"));
  setContextMenu(menu_.get());
  show();
}

void TvTrayWidget::tray_double_click(QSystemTrayIcon::ActivationReason) {}

}  // namespace tolvaran
