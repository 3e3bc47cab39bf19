#include "framework/services/PluginServicesClient.h"

#include "framework/services/PluginServices.h"

TimerManager& PluginServicesClient::GetTimerManager() const {
  if (!mServices)
    throw PluginServices::PluginServicesNotReady(APPFRAME_THROW_SITE);
  return mServices->GetTimerManager();
}

MessagingServer& PluginServicesClient::GetMessagingServer() const {
  if (!mServices)
    throw PluginServices::PluginServicesNotReady(APPFRAME_THROW_SITE);
  return mServices->GetMessagingServer();
}
