#pragma once

#include <cstdint>
#include <string_view>

namespace Serialization {

class Archive;

// Identifies an object within an archive; 0 means not archived yet.
using ObjectId = std::uint64_t;

// Base of everything that writes and reads its attributes by name into an object archive.
class Serializable {
 public:
  Serializable() = default;
  Serializable(const Serializable&) = default;
  Serializable& operator=(const Serializable&) = default;
  virtual ~Serializable();

  // The class identifier under which the object is archived.
  virtual std::string_view GetTypeId() const = 0;
  virtual void Save(Archive& archive) = 0;
  virtual void Load(Archive& archive) = 0;

  // Writes the object as a child of the current object, unless the archive holds it already.
  void SaveAsObject(Archive& archive, std::string_view name);
  // Reads the child object of that name into this object.
  void LoadAsObject(Archive& archive, std::string_view name);

  ObjectId GetObjectId() const { return mObjectId; }
  void SetObjectId(ObjectId id) { mObjectId = id; }

 private:
  ObjectId mObjectId{0};
};

}  // namespace Serialization
