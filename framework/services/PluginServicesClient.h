#pragma once

class MessagingServer;
class PluginServices;
class TimerManager;

// Base of everything that uses the instance's timers or messages. The services are not owned
// and must outlive the client.
class PluginServicesClient {
 public:
  explicit PluginServicesClient(PluginServices* services = nullptr) : mServices(services) {}

  void AttachServices(PluginServices* services) { mServices = services; }
  PluginServices* GetPluginServices() const { return mServices; }

  // Both throw PluginServices::PluginServicesNotReady when the service is missing, also when
  // no services are attached.
  TimerManager& GetTimerManager() const;
  MessagingServer& GetMessagingServer() const;

 protected:
  // Where the client changes the instance's state (InstanceMutexCheck).
  void ExpectInstanceMutex(const char* where) const;
  ~PluginServicesClient() = default;
  PluginServicesClient(const PluginServicesClient&) = default;
  PluginServicesClient& operator=(const PluginServicesClient&) = default;

 private:
  PluginServices* mServices{nullptr};
};
