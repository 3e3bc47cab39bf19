#include "host/app/Addresses.h"

#include <QtGlobal>

namespace tolvaran {

namespace {

QString configured(const char* variable, const char* built_in) {
  return qEnvironmentVariableIsSet(variable) ? qEnvironmentVariable(variable).trimmed()
                                             : QString::fromUtf8(built_in);
}

}  // namespace

QString web_service_host() { return configured("TOLVARAN_WEB_SERVICE_HOST", TOLVARAN_WEB_SERVICE_HOST); }
QString home_page_address() { return configured("TOLVARAN_HOME_PAGE", TOLVARAN_HOME_PAGE); }
QString forum_address() { return configured("TOLVARAN_FORUM", TOLVARAN_FORUM); }

}  // namespace tolvaran
