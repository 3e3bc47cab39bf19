#pragma once

#include "framework/services/Exceptions.h"

class MessagingServer;
class TimerManager;

// The per-instance services: one timer manager and one messaging server.
class PluginServices {
 public:
  class PluginServicesNotReady : public AppFrame::Exception {
   public:
    using Exception::Exception;
  };

  // Never throws: a service whose memory cannot be had stays missing, and asking for it throws.
  PluginServices();
  virtual ~PluginServices();
  PluginServices(const PluginServices&) = delete;
  PluginServices& operator=(const PluginServices&) = delete;

  TimerManager& GetTimerManager() const;
  MessagingServer& GetMessagingServer() const;
  // Whether the calling thread holds the instance's mutex; services without an instance have none
  // to hold.
  virtual bool HoldsInstanceMutex() const { return true; }

 private:
  TimerManager* mTimerManager{nullptr};
  MessagingServer* mMessagingServer{nullptr};
};
