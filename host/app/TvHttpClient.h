// The one start-up request to the program's web service; the answer is not read.
#pragma once

#include <QNetworkAccessManager>
#include <QObject>

class QNetworkReply;

namespace tolvaran {

inline constexpr const char* kWebServicePath = "/api/util/olvaran";

// UI thread.
class tvhttpclient : public QObject {
  Q_OBJECT

 public:
  // Sends the request at once, unless the web-service address is empty.
  explicit tvhttpclient(QObject* parent = nullptr);

  void send_request();

 private slots:
  void reply_finish(QNetworkReply* reply);

 private:
  QNetworkAccessManager* manager_ = nullptr;
};

}  // namespace tolvaran
