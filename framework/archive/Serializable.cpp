#include "framework/archive/Serializable.h"

#include "framework/archive/Archive.h"

namespace Serialization {

Serializable::~Serializable() = default;

void Serializable::SaveAsObject(Archive& archive, std::string_view name) {
  if (archive.BeginObject(*this, name) == 0) return;
  try {
    Save(archive);
  } catch (...) {
    archive.EndObject(*this);
    throw;
  }
  archive.EndObject(*this);
}

void Serializable::LoadAsObject(Archive& archive, std::string_view name) {
  archive.EnterObject(name, GetTypeId());
  try {
    Load(archive);
  } catch (...) {
    archive.LeaveObject();
    throw;
  }
  archive.LeaveObject();
}

}  // namespace Serialization
