#pragma once

#include <algorithm>
#include <atomic>
#include <vector>

#include "analyser/engine/services/KorvaneServiceBase.h"
#include "analyser/engine/services/KorvaneServiceClient.h"
#include "framework/archive/Archive.h"
#include "framework/archive/Serializable.h"

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
