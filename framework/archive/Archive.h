#pragma once

#include "framework/archive/Serializable.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace Serialization {

// Makes objects by class identifier for a loading archive that meets an unknown object id.
class ObjectFactory {
 public:
  virtual ~ObjectFactory();
  // The caller owns the result; null for a class identifier the factory does not know.
  virtual Serializable* CreateObject(std::string_view typeId) = 0;
};

// One save or one load of a tree of named objects holding typed, named attributes.
// Attribute and object names are looked up in the current object, the innermost one entered.
class Archive {
 public:
  explicit Archive(std::string archiveType = {}, ObjectFactory* factory = nullptr);
  virtual ~Archive();
  Archive(const Archive&) = delete;
  Archive& operator=(const Archive&) = delete;

  virtual void BeginSave();
  virtual void BeginLoad();
  virtual void EndSave();

  // Plain reads are for names that are there: ask HasEntry first or use the OrDefault form.
  virtual void WriteBool(std::string_view name, bool value) = 0;
  virtual bool ReadBoolOrDefault(std::string_view name, bool fallback);
  virtual bool ReadBool(std::string_view name) = 0;
  virtual void WriteInt(std::string_view name, std::int32_t value) = 0;
  virtual std::int32_t ReadIntOrDefault(std::string_view name, std::int32_t fallback);
  virtual std::int32_t ReadInt(std::string_view name) = 0;
  virtual void WriteInt64(std::string_view name, std::int64_t value) = 0;
  virtual std::int64_t ReadInt64OrDefault(std::string_view name, std::int64_t fallback);
  virtual std::int64_t ReadInt64(std::string_view name) = 0;
  virtual void WriteFloat(std::string_view name, double value) = 0;
  virtual double ReadFloatOrDefault(std::string_view name, double fallback);
  virtual double ReadFloat(std::string_view name) = 0;
  virtual void WriteVectorOfDouble(std::string_view name, const std::vector<double>& values) = 0;
  virtual void WriteVectorOfFloat(std::string_view name, const std::vector<float>& values) = 0;
  virtual void ReadVectorOfDouble(std::string_view name, std::vector<double>& values) = 0;
  virtual void ReadVectorOfFloat(std::string_view name, std::vector<float>& values) = 0;
  virtual void WriteString(std::string_view name, std::string_view value) = 0;
  virtual std::string ReadStringOrDefault(std::string_view name, std::string_view fallback);
  virtual std::string ReadString(std::string_view name) = 0;
  virtual void WriteBinary(std::string_view name, const std::uint8_t* bytes, std::size_t length) = 0;
  // A new block owned by the caller; length receives its byte count.
  virtual std::unique_ptr<std::uint8_t[]> ReadBinary(std::string_view name, std::size_t& length) = 0;

  // Writes the object (unless the archive holds it already) and then a reference to it.
  // Throws the integer 0 for an object that cannot be registered, a null one included.
  virtual void WriteObjectRef(std::string_view name, Serializable* object);
  // The registered object of the id read; an unknown id is made by the factory, if any, and
  // loaded; without a factory it yields null.
  virtual Serializable* ReadObjectRef(std::string_view name);

  virtual bool HasEntry(std::string_view name) = 0;
  // Enters the named objects one inside the other; on the first missing name leaves what it
  // entered and returns false.
  virtual bool EnterObjectPath(const std::vector<std::string>& names) = 0;
  // False, leaving nothing, when fewer than count objects are entered.
  virtual bool LeaveObjects(int count) = 0;
  virtual void EnterObject(std::string_view name, std::string_view typeId);
  // Opens the object for writing and gives it the next process-wide id; 0 when this archive
  // holds it already, in which case nothing more is written for it.
  virtual ObjectId BeginObject(Serializable& object, std::string_view name);
  virtual void LeaveObject();
  // Ends the innermost open object; any other object is ignored.
  virtual void EndObject(Serializable& object);
  virtual void WriteObjectId(std::string_view name, ObjectId id) = 0;
  virtual ObjectId ReadObjectId(std::string_view name) = 0;
  virtual std::string ReadObjectType(ObjectId id) = 0;

  const std::string& GetArchiveType() const { return mArchiveType; }

 protected:
  void SetArchiveType(std::string archiveType) { mArchiveType = std::move(archiveType); }
  // Objects begun and not yet ended.
  std::size_t GetOpenObjectCount() const { return mObjectStack.size(); }

 private:
  struct ObjectRecord {
    Serializable* object{nullptr};
    bool written{false};
    std::int32_t referenceCount{0};
  };

  const ObjectRecord* FindRecord(const Serializable& object) const;

  std::string mArchiveType{};
  std::vector<Serializable*> mObjectStack{};
  std::map<ObjectId, ObjectRecord> mRegistry{};
  ObjectFactory* mFactory{nullptr};
};

}  // namespace Serialization
