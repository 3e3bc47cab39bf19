#pragma once

#include <algorithm>
#include <atomic>
#include <string_view>
#include <vector>

#include "analyser/engine/KorvaneServiceBase.h"
#include "framework/archive/Archive.h"
#include "framework/archive/Serializable.h"

class KorvaneServiceList;
template <class S>
class KorvaneServiceClient;

// The service of that name in the list, or null.
KorvaneServiceBase* FindService(KorvaneServiceList& list, std::string_view name);

// One analysis service S with the editor frames that read it as its clients. The client list
// belongs to the user-interface thread; the audio thread only reads the has-work flag, which
// the service keeps up to date whenever a client comes, goes or changes its active state.
// S derives from Serialization::Serializable and is saved as an object named by GetName.
template <class S, int kWantsAudio = 1, class Client = KorvaneServiceClient<S>>
class KorvaneService : public KorvaneServiceBase {
 public:
  KorvaneService() : KorvaneServiceBase(kWantsAudio != 0) {}
  // Clients still attached are told, so none keeps a pointer to a service that is gone.
  ~KorvaneService() override {
    for (Client* client : mClients) client->ForgetService();
  }

  void SaveToArchive(Serialization::Archive& archive) override {
    static_cast<S*>(this)->SaveAsObject(archive, this->GetName());
  }
  // An archive without the service's object leaves the service as it is.
  void LoadFromArchive(Serialization::Archive& archive) override;

  // Audio thread: with no clients, whether to process without them; else whether any client
  // is active.
  bool HasWork() const { return mHasWork.load(std::memory_order_acquire); }
  void SetProcessWithoutClients(bool on) {
    mProcessWithoutClients = on;
    UpdateHasWork();
  }
  std::size_t GetClientCount() const { return mClients.size(); }

 private:
  friend Client;

  void Attach(Client* client) {
    Remove(client);
    mClients.push_back(client);
    UpdateHasWork();
  }
  void Detach(Client* client) {
    Remove(client);
    UpdateHasWork();
  }
  void Remove(Client* client) {
    mClients.erase(std::remove(mClients.begin(), mClients.end(), client), mClients.end());
  }
  void UpdateHasWork() {
    bool work = mProcessWithoutClients;
    if (!mClients.empty())
      work = std::any_of(mClients.begin(), mClients.end(), [](const Client* c) { return c->IsActive(); });
    mHasWork.store(work, std::memory_order_release);
  }

  std::vector<Client*> mClients;
  bool mProcessWithoutClients = true;
  std::atomic<bool> mHasWork{true};
};

template <class S, int kWantsAudio, class Client>
void KorvaneService<S, kWantsAudio, Client>::LoadFromArchive(Serialization::Archive& archive) {
  if (archive.HasEntry(this->GetName())) static_cast<S*>(this)->LoadAsObject(archive, this->GetName());
}

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
