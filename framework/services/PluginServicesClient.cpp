#include "framework/services/PluginServicesClient.h"

#include "framework/services/InstanceMutexCheck.h"
#include "framework/services/PluginServices.h"
#include "framework/services/ThrowSites.h"

TimerManager& PluginServicesClient::GetTimerManager() const {
  if (!mServices) throw PluginServices::PluginServicesNotReady(&ThrowSites::kNoTimerManager);
  return mServices->GetTimerManager();
}

MessagingServer& PluginServicesClient::GetMessagingServer() const {
  if (!mServices) throw PluginServices::PluginServicesNotReady(&ThrowSites::kNoMessagingServer);
  return mServices->GetMessagingServer();
}

void PluginServicesClient::ExpectInstanceMutex(const char* where) const {
  InstanceMutexCheck::Expect(mServices, where);
}
