#include "host/app/TvHttpClient.h"

#include "host/app/Addresses.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

namespace tolvaran {

tvhttpclient::tvhttpclient(QObject* parent) : QObject(parent), manager_(new QNetworkAccessManager(this)) {
  connect(manager_, &QNetworkAccessManager::finished, this, &tvhttpclient::reply_finish);
  send_request();
}

void tvhttpclient::send_request() {
  const QString host = web_service_host();
  if (host.isEmpty()) return;
  QUrl url;
  url.setScheme(QStringLiteral("http"));
  url.setAuthority(host);
  url.setPath(QString::fromLatin1(kWebServicePath));
  if (!url.isValid() || url.host().isEmpty()) return;
  manager_->get(QNetworkRequest(url));
}

// The answer, a failure included, changes nothing; the reply only has to go.
void tvhttpclient::reply_finish(QNetworkReply* reply) { reply->deleteLater(); }

}  // namespace tolvaran
