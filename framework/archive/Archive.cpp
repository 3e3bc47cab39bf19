#include "framework/archive/Archive.h"

#include <atomic>
#include <utility>

namespace Serialization {
namespace {

// Ids are unique within the process: archives on different threads share this counter.
std::atomic<ObjectId> gLastObjectId{0};
static_assert(std::atomic<ObjectId>::is_always_lock_free);

}  // namespace

ObjectFactory::~ObjectFactory() = default;

Archive::Archive(std::string archiveType, ObjectFactory* factory)
    : mArchiveType(std::move(archiveType)), mFactory(factory) {}

Archive::~Archive() = default;

void Archive::BeginSave() {}

void Archive::BeginLoad() {}

void Archive::EndSave() {}

bool Archive::ReadBoolOrDefault(std::string_view name, bool fallback) {
  return HasEntry(name) ? ReadBool(name) : fallback;
}

std::int32_t Archive::ReadIntOrDefault(std::string_view name, std::int32_t fallback) {
  return HasEntry(name) ? ReadInt(name) : fallback;
}

std::int64_t Archive::ReadInt64OrDefault(std::string_view name, std::int64_t fallback) {
  return HasEntry(name) ? ReadInt64(name) : fallback;
}

double Archive::ReadFloatOrDefault(std::string_view name, double fallback) {
  return HasEntry(name) ? ReadFloat(name) : fallback;
}

std::string Archive::ReadStringOrDefault(std::string_view name, std::string_view fallback) {
  return HasEntry(name) ? ReadString(name) : std::string(fallback);
}

void Archive::WriteObjectRef(std::string_view name, Serializable* object) {
  if (!object) throw 0;
  object->SaveAsObject(*this, {});
  const ObjectRecord* record = FindRecord(*object);
  if (!record) throw 0;
  WriteObjectId(name, object->GetObjectId());
}

Serializable* Archive::ReadObjectRef(std::string_view name) {
  const ObjectId id = ReadObjectId(name);
  if (const auto found = mRegistry.find(id); found != mRegistry.end()) {
    ++found->second.referenceCount;
    return found->second.object;
  }
  if (!mFactory) return nullptr;
  std::unique_ptr<Serializable> object(mFactory->CreateObject(ReadObjectType(id)));
  if (!object) return nullptr;
  const auto record = mRegistry.emplace(id, ObjectRecord{object.get(), false, 1}).first;
  try {
    object->LoadAsObject(*this, {});
  } catch (...) {
    mRegistry.erase(record);
    throw;
  }
  return object.release();
}

void Archive::EnterObject(std::string_view, std::string_view) {}

ObjectId Archive::BeginObject(Serializable& object, std::string_view) {
  if (FindRecord(object)) return 0;
  const ObjectId id = gLastObjectId.fetch_add(1, std::memory_order_relaxed) + 1;
  const auto record = mRegistry.emplace(id, ObjectRecord{&object, false, 0}).first;
  try {
    mObjectStack.push_back(&object);
  } catch (...) {
    mRegistry.erase(record);
    throw;
  }
  object.SetObjectId(id);
  return id;
}

void Archive::LeaveObject() {}

void Archive::EndObject(Serializable& object) {
  if (mObjectStack.empty() || mObjectStack.back() != &object) return;
  mObjectStack.pop_back();
  if (const auto found = mRegistry.find(object.GetObjectId()); found != mRegistry.end())
    found->second.written = true;
}

// By id and address: an object carrying an id from an earlier archive, or a copy of a
// registered object, is not this archive's.
const Archive::ObjectRecord* Archive::FindRecord(const Serializable& object) const {
  const auto found = mRegistry.find(object.GetObjectId());
  return found != mRegistry.end() && found->second.object == &object ? &found->second : nullptr;
}

}  // namespace Serialization
