#pragma once

#include <cstddef>
#include <vector>

namespace Serialization {

class Archive;
class ObjectSerializerHub;

// An object archived along with its hubs' owners, which need not know its class.
class ObjectSerializerSatellite {
 public:
  ObjectSerializerSatellite() = default;
  ObjectSerializerSatellite(const ObjectSerializerSatellite&) = delete;
  ObjectSerializerSatellite& operator=(const ObjectSerializerSatellite&) = delete;
  // Leaves every hub it is registered with.
  virtual ~ObjectSerializerSatellite();

  virtual void SaveToArchive(Archive& archive) = 0;
  virtual void LoadFromArchive(Archive& archive) = 0;

 private:
  friend class ObjectSerializerHub;
  std::vector<ObjectSerializerHub*> mHubs{};
};

// Saves and loads its satellites in registration order. Neither side owns the other.
class ObjectSerializerHub {
 public:
  ObjectSerializerHub() = default;
  ObjectSerializerHub(const ObjectSerializerHub&) = delete;
  ObjectSerializerHub& operator=(const ObjectSerializerHub&) = delete;
  // Lets every satellite go.
  virtual ~ObjectSerializerHub();

  // Adding a satellite again moves it to the end; it is held once.
  void AddSatellite(ObjectSerializerSatellite& satellite);
  void RemoveSatellite(ObjectSerializerSatellite& satellite);
  void SaveSatellites(Archive& archive);
  void LoadSatellites(Archive& archive);

 private:
  // Calls the step of every satellite once in list order, while the step may add or remove
  // satellites (itself included).
  void Visit(void (ObjectSerializerSatellite::*step)(Archive&), Archive& archive);

  std::vector<ObjectSerializerSatellite*> mSatellites{};
  // The next index of every pass under way; a removal before it moves it back.
  std::vector<std::size_t*> mPasses{};
};

}  // namespace Serialization
