#include "framework/services/InstanceMutexCheck.h"

#include <atomic>

#include "framework/services/PluginServices.h"

namespace InstanceMutexCheck {

namespace {
std::atomic<Handler> gHandler{nullptr};
}  // namespace

void Install(Handler handler) { gHandler.store(handler); }

void Expect(const PluginServices* services, const char* where) {
  const Handler handler = gHandler.load();
  if (handler && services && !services->HoldsInstanceMutex()) handler(where);
}

}  // namespace InstanceMutexCheck
