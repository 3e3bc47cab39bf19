#include "framework/archive/ObjectSerializerHub.h"

#include <algorithm>

namespace Serialization {
namespace {

template <class T>
void EraseAll(std::vector<T*>& list, const T* item) {
  list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

}  // namespace

ObjectSerializerSatellite::~ObjectSerializerSatellite() {
  while (!mHubs.empty()) mHubs.front()->RemoveSatellite(*this);
}

ObjectSerializerHub::~ObjectSerializerHub() {
  while (!mSatellites.empty()) {
    ObjectSerializerSatellite* satellite = mSatellites.front();
    mSatellites.erase(mSatellites.begin());
    EraseAll(satellite->mHubs, static_cast<const ObjectSerializerHub*>(this));
  }
}

void ObjectSerializerHub::AddSatellite(ObjectSerializerSatellite& satellite) {
  RemoveSatellite(satellite);
  mSatellites.push_back(&satellite);
  try {
    satellite.mHubs.push_back(this);
  } catch (...) {
    mSatellites.pop_back();
    throw;
  }
}

void ObjectSerializerHub::RemoveSatellite(ObjectSerializerSatellite& satellite) {
  EraseAll(mSatellites, static_cast<const ObjectSerializerSatellite*>(&satellite));
  EraseAll(satellite.mHubs, static_cast<const ObjectSerializerHub*>(this));
}

// By index: a satellite may add or remove satellites while it is saved or loaded.
void ObjectSerializerHub::SaveSatellites(Archive& archive) {
  for (std::size_t i = 0; i < mSatellites.size(); ++i) mSatellites[i]->SaveToArchive(archive);
}

void ObjectSerializerHub::LoadSatellites(Archive& archive) {
  for (std::size_t i = 0; i < mSatellites.size(); ++i) mSatellites[i]->LoadFromArchive(archive);
}

}  // namespace Serialization
