// The main-window form of Tolvaran.
#pragma once

#include <QWidget>

namespace tolvaran {

class Ui_Tolvaran {
 public:
  void setupUi(QWidget* window);
  void retranslateUi(QWidget* window);
};

namespace Ui {
class Tolvaran : public Ui_Tolvaran {};
}  // namespace Ui

class Tolvaran : public QWidget {
  Q_OBJECT

 public:
  explicit Tolvaran(QWidget* parent = nullptr);

 private:
  Ui::Tolvaran ui_;
};

}  // namespace tolvaran
