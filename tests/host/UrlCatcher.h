// Stands in for the desktop's browser: keeps the addresses the program asks to open.
#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

class UrlCatcher : public QObject {
  Q_OBJECT

 public:
  QList<QUrl> opened;

 public slots:
  void open(const QUrl& url) { opened.push_back(url); }
};
