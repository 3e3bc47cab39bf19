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
  for (std::size_t i = mSatellites.size(); i-- > 0;) {
    if (mSatellites[i] != &satellite) continue;
    mSatellites.erase(mSatellites.begin() + static_cast<std::ptrdiff_t>(i));
    for (std::size_t* next : mPasses) {
      if (i < *next) --*next;
    }
  }
  EraseAll(satellite.mHubs, static_cast<const ObjectSerializerHub*>(this));
}

void ObjectSerializerHub::Visit(void (ObjectSerializerSatellite::*step)(Archive&), Archive& archive) {
  std::size_t next = 0;
  mPasses.push_back(&next);
  try {
    while (next < mSatellites.size()) (mSatellites[next++]->*step)(archive);
  } catch (...) {
    mPasses.pop_back();
    throw;
  }
  mPasses.pop_back();
}

void ObjectSerializerHub::SaveSatellites(Archive& archive) {
  Visit(&ObjectSerializerSatellite::SaveToArchive, archive);
}

void ObjectSerializerHub::LoadSatellites(Archive& archive) {
  Visit(&ObjectSerializerSatellite::LoadFromArchive, archive);
}

}  // namespace Serialization
