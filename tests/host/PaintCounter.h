// A widget that counts its paints: tells whether a repaint asked for from elsewhere arrived.
#pragma once

#include <QWidget>

class PaintCounter : public QWidget {
 public:
  int paints = 0;

 protected:
  void paintEvent(QPaintEvent*) override { ++paints; }
};
