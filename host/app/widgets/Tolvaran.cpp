#include "host/app/widgets/Tolvaran.h"

#include <QCoreApplication>

namespace tolvaran {

void Ui_Tolvaran::setupUi(QWidget* window) {
  if (window->objectName().isEmpty()) window->setObjectName(QString::fromLatin1("TolvaranClass"));
  window->resize(600, 400);
  retranslateUi(window);
}

void Ui_Tolvaran::retranslateUi(QWidget* window) {
  window->setWindowTitle(QCoreApplication::translate("TolvaranClass", "Tolvaran", nullptr));
}

Tolvaran::Tolvaran(QWidget* parent) : QWidget(parent) { ui_.setupUi(this); }

}  // namespace tolvaran
