// The program's web addresses: build settings that environment variables of the same names
// override. An empty address sends nothing and opens nothing.
#pragma once

#include <QString>

namespace tolvaran {

// host[:port] of the web service that gets the one start-up request.
QString web_service_host();
QString home_page_address();
QString forum_address();

}  // namespace tolvaran
