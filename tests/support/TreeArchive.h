#pragma once

#include "framework/archive/Archive.h"

#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

// An archive kept as a tree in memory, to exercise the archive model without a file format.
// Values are held as text; a missing name on a plain read or enter throws std::out_of_range.
class TreeArchive : public Serialization::Archive {
 public:
  struct Node {
    std::string name;
    std::string type;
    Serialization::ObjectId id{0};
    std::vector<std::pair<std::string, std::string>> attributes;
    std::vector<std::unique_ptr<Node>> children;
  };

  Node root;

  explicit TreeArchive(Serialization::ObjectFactory* factory = nullptr) : Archive("tree", factory) {}

  std::size_t Depth() const { return mScope.size() - 1; }
  using Archive::GetOpenObjectCount;

  void WriteBool(std::string_view name, bool value) override { Put(name, value ? "true" : "false"); }
  bool ReadBool(std::string_view name) override { return Get(name) == "true"; }
  void WriteInt(std::string_view name, std::int32_t value) override { Put(name, std::to_string(value)); }
  std::int32_t ReadInt(std::string_view name) override { return std::stoi(Get(name)); }
  void WriteInt64(std::string_view name, std::int64_t value) override { Put(name, std::to_string(value)); }
  std::int64_t ReadInt64(std::string_view name) override { return std::stoll(Get(name)); }
  void WriteFloat(std::string_view name, double value) override { Put(name, std::to_string(value)); }
  double ReadFloat(std::string_view name) override { return std::stod(Get(name)); }
  // Vectors and binary blocks are the file format's business, not the model's.
  void WriteVectorOfDouble(std::string_view, const std::vector<double>&) override { Unkept(); }
  void WriteVectorOfFloat(std::string_view, const std::vector<float>&) override { Unkept(); }
  void ReadVectorOfDouble(std::string_view, std::vector<double>&) override { Unkept(); }
  void ReadVectorOfFloat(std::string_view, std::vector<float>&) override { Unkept(); }
  void WriteString(std::string_view name, std::string_view value) override { Put(name, std::string(value)); }
  std::string ReadString(std::string_view name) override { return Get(name); }
  void WriteBinary(std::string_view, const std::uint8_t*, std::size_t) override { Unkept(); }
  std::unique_ptr<std::uint8_t[]> ReadBinary(std::string_view, std::size_t&) override { Unkept(); }

  bool HasEntry(std::string_view name) override { return FindAttribute(name) || FindChild(name); }
  bool EnterObjectPath(const std::vector<std::string>& names) override {
    const std::size_t depth = mScope.size();
    for (const std::string& name : names) {
      Node* child = FindChild(name);
      if (!child) {
        mScope.resize(depth);
        return false;
      }
      mScope.push_back(child);
    }
    return true;
  }
  bool LeaveObjects(int count) override {
    if (count < 0 || Depth() < static_cast<std::size_t>(count)) return false;
    mScope.resize(mScope.size() - count);
    return true;
  }
  void EnterObject(std::string_view name, std::string_view) override {
    Node* child = FindChild(name);
    if (!child) throw std::out_of_range("no object " + std::string(name));
    mScope.push_back(child);
  }
  void LeaveObject() override {
    if (Depth() > 0) mScope.pop_back();
  }
  Serialization::ObjectId BeginObject(Serialization::Serializable& object, std::string_view name) override {
    const Serialization::ObjectId id = Archive::BeginObject(object, name);
    if (id != 0) {
      auto child = std::make_unique<Node>();
      child->name = name;
      child->type = object.GetTypeId();
      child->id = id;
      mScope.back()->children.push_back(std::move(child));
      mScope.push_back(mScope.back()->children.back().get());
    }
    return id;
  }
  void EndObject(Serialization::Serializable& object) override {
    const std::size_t open = GetOpenObjectCount();
    Archive::EndObject(object);
    if (GetOpenObjectCount() < open) mScope.pop_back();
  }
  void WriteObjectId(std::string_view name, Serialization::ObjectId id) override {
    Put(name, std::to_string(id));
  }
  Serialization::ObjectId ReadObjectId(std::string_view name) override { return std::stoull(Get(name)); }
  std::string ReadObjectType(Serialization::ObjectId id) override {
    const Node* node = FindId(root, id);
    return node ? node->type : std::string();
  }

  Node& Current() { return *mScope.back(); }

 private:
  void Put(std::string_view name, std::string value) {
    mScope.back()->attributes.emplace_back(std::string(name), std::move(value));
  }
  const std::string* FindAttribute(std::string_view name) const {
    for (const auto& [key, value] : mScope.back()->attributes)
      if (key == name) return &value;
    return nullptr;
  }
  const std::string& Get(std::string_view name) const {
    const std::string* value = FindAttribute(name);
    if (!value) throw std::out_of_range("no attribute " + std::string(name));
    return *value;
  }
  Node* FindChild(std::string_view name) const {
    for (const auto& child : mScope.back()->children)
      if (child->name == name) return child.get();
    return nullptr;
  }
  static const Node* FindId(const Node& node, Serialization::ObjectId id) {
    if (node.id == id) return &node;
    for (const auto& child : node.children)
      if (const Node* found = FindId(*child, id)) return found;
    return nullptr;
  }
  [[noreturn]] static void Unkept() { throw std::logic_error("not kept by TreeArchive"); }

  std::vector<Node*> mScope{&root};
};

// Loads the object from an archive that holds it alone, as an object of the given name and type
// with these attributes.
inline void LoadFromAttributes(Serialization::Serializable& object, const std::string& name,
                               const std::string& type,
                               std::vector<std::pair<std::string, std::string>> attributes) {
  TreeArchive archive;
  auto node = std::make_unique<TreeArchive::Node>();
  node->name = name;
  node->type = type;
  node->attributes = std::move(attributes);
  archive.root.children.push_back(std::move(node));
  archive.BeginLoad();
  object.LoadAsObject(archive, name);
}
