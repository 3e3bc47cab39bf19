#pragma once

#include <string_view>

class KorvaneServiceBase;
class KorvaneServiceList;

// The service of that name in the list, or null.
KorvaneServiceBase* FindService(KorvaneServiceList& list, std::string_view name);

// Base of the editor frames that read service S. Attaching takes S from the plug-in's service
// list; destroying the client detaches it. User-interface thread only.
template <class S>
class KorvaneServiceClient {
 public:
  KorvaneServiceClient(const KorvaneServiceClient&) = delete;
  KorvaneServiceClient& operator=(const KorvaneServiceClient&) = delete;

  // Attaching again moves the client to the end of the service's list. Attaching to a list
  // without S leaves the client detached.
  void AttachToService(KorvaneServiceList& list) {
    DetachFromService();
    mServiceList = &list;
    mService = dynamic_cast<S*>(FindService(list, S::kServiceName));
    mActive = true;
    if (mService != nullptr) mService->Attach(this);
  }
  void DetachFromService() {
    if (mService != nullptr) mService->Detach(this);
    mService = nullptr;
  }
  void SetActive(bool active) {
    mActive = active;
    if (mService != nullptr) mService->UpdateHasWork();
  }
  bool IsActive() const { return mActive; }
  S* GetService() const { return mService; }
  KorvaneServiceList* GetServiceList() const { return mServiceList; }

 protected:
  KorvaneServiceClient() = default;
  ~KorvaneServiceClient() { DetachFromService(); }

 private:
  template <class, int, class>
  friend class KorvaneService;
  void ForgetService() {
    mService = nullptr;
    mServiceList = nullptr;
  }

  KorvaneServiceList* mServiceList = nullptr;
  S* mService = nullptr;
  bool mActive = false;
};
