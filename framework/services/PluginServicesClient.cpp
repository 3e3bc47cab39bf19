#include "framework/services/PluginServicesClient.h"

#include "framework/services/PluginServices.h"

TimerManager& PluginServicesClient::GetTimerManager() const {
  if (!mServices)
    throw PluginServices::PluginServicesNotReady(APPFRAME_SITE(".\\Source\\PluginServices", 42));
  return mServices->GetTimerManager();
}

MessagingServer& PluginServicesClient::GetMessagingServer() const {
  if (!mServices)
    throw PluginServices::PluginServicesNotReady(APPFRAME_SITE(".\\Source\\PluginServices", 52));
  return mServices->GetMessagingServer();
}
