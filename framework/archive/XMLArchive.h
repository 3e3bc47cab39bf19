#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "framework/archive/Archive.h"
#include "framework/services/Exceptions.h"
#include "framework/services/ThrowSites.h"

namespace Serialization {

extern const char* const kArchiveRootName;  // "obj_archive"

// The object archive as a small XML dialect: one element per line, TAB indents, nothing
// escaped. A saving archive writes to a stream; a loading archive scans a text block that the
// caller keeps alive, without copying it.
class XMLArchive : public Archive {
 public:
  // Raised for text that is not a well-formed archive; the text names the failed check.
  class ParseException : public Vud::Exception {
   public:
    ParseException(const std::string& detail, const ThrowSites::ArchiveCheck& check);
  };

  XMLArchive(std::ostream& out, std::string archiveType, bool omitDeclaration);
  // Finds the root element and reads its start tag; BeginLoad reads the rest.
  XMLArchive(const char* text, size_t length, ObjectFactory* factory = nullptr);
  ~XMLArchive() override;

  void BeginSave() override;
  void BeginLoad() override;
  void EndSave() override;

  void WriteBool(std::string_view name, bool value) override;
  bool ReadBool(std::string_view name) override;
  void WriteInt(std::string_view name, std::int32_t value) override;
  std::int32_t ReadInt(std::string_view name) override;
  void WriteInt64(std::string_view name, std::int64_t value) override;
  std::int64_t ReadInt64(std::string_view name) override;
  void WriteFloat(std::string_view name, double value) override;
  double ReadFloat(std::string_view name) override;
  void WriteVectorOfDouble(std::string_view name, const std::vector<double>& values) override;
  void WriteVectorOfFloat(std::string_view name, const std::vector<float>& values) override;
  void ReadVectorOfDouble(std::string_view name, std::vector<double>& values) override;
  void ReadVectorOfFloat(std::string_view name, std::vector<float>& values) override;
  void WriteString(std::string_view name, std::string_view value) override;
  std::string ReadString(std::string_view name) override;
  void WriteBinary(std::string_view name, const std::uint8_t* bytes, size_t length) override;
  std::unique_ptr<std::uint8_t[]> ReadBinary(std::string_view name, size_t& length) override;

  bool HasEntry(std::string_view name) override;
  bool EnterObjectPath(const std::vector<std::string>& names) override;
  bool LeaveObjects(int count) override;
  void EnterObject(std::string_view name, std::string_view typeId) override;
  ObjectId BeginObject(Serializable& object, std::string_view name) override;
  void LeaveObject() override;
  void EndObject(Serializable& object) override;
  void WriteObjectId(std::string_view name, ObjectId id) override;
  ObjectId ReadObjectId(std::string_view name) override;
  std::string ReadObjectType(ObjectId id) override;

  // Deepest nesting of objects a loaded text may have.
  static constexpr int kMaxDepth = 64;

 private:
  struct Node;

  // Writing.
  void WriteScalar(std::string_view name, const char* type, std::string_view value);
  void WriteNumbers(std::string_view name, size_t count, const double* doubles, const float* floats);
  std::string FormatNumber(double value) const;

  // Reading.
  size_t ReadElement(Node& node, int depth);
  size_t FindText(std::string_view what, size_t from) const;
  bool FindTagValue(const Node& node, std::string_view attribute, std::string_view& value) const;
  std::string_view StartTag(const Node& node) const;
  std::string_view Content(const Node& node) const;
  Node* Child(std::string_view name) const;
  const Node& AttributeNode(std::string_view name) const;
  Node* Scope() const;

  std::ostream* mOut = nullptr;
  bool mOmitDeclaration = false;
  bool mFixedFloats = false;  // after the first "f" attribute numbers are written fixed-point
  std::string mIndent;

  std::string_view mText;
  std::vector<std::unique_ptr<Node>> mNodes;
  Node* mRoot = nullptr;
  std::vector<Node*> mScopes;
  std::map<ObjectId, Node*> mIdIndex;
};

}  // namespace Serialization
