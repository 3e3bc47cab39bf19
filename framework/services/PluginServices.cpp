#include "framework/services/PluginServices.h"

#include "framework/services/MessagingServer.h"
#include "framework/services/ThrowSites.h"
#include "framework/services/TimerManager.h"

#include <new>
#include <utility>

PluginServices::PluginServices()
    : mTimerManager(new (std::nothrow) TimerManager), mMessagingServer(new (std::nothrow) MessagingServer) {}

PluginServices::~PluginServices() {
  // The timer manager goes first and is unreachable from then on, so handlers of the class
  // removals below get PluginServicesNotReady instead of a freed manager.
  delete std::exchange(mTimerManager, nullptr);
  // The server stays reachable while its destructor announces the removal of every class.
  delete mMessagingServer;
  mMessagingServer = nullptr;
}

TimerManager& PluginServices::GetTimerManager() const {
  if (!mTimerManager) throw PluginServicesNotReady(&ThrowSites::kNoTimerManager);
  return *mTimerManager;
}

MessagingServer& PluginServices::GetMessagingServer() const {
  if (!mMessagingServer) throw PluginServicesNotReady(&ThrowSites::kNoMessagingServer);
  return *mMessagingServer;
}
