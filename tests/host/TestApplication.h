// The one QApplication of a widget test program, on the offscreen platform.
#pragma once

#include <QApplication>

inline QApplication& test_application() {
  static int argc = 1;
  static char name[] = "tolvaran_test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  return *app;
}
