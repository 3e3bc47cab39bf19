#include "framework/archive/XMLArchive.h"

#include <algorithm>
#include <unordered_map>

#include "framework/archive/NumberText.h"

namespace Serialization {

const char* const kArchiveRootName = "obj_archive";

namespace {

constexpr size_t npos = std::string_view::npos;
constexpr const char* kNodeIs = "\ncurrent node is : \n";
constexpr std::string_view kSpecialCharacters = "&<>\"'";
// The texts the reader recognises in place.
constexpr std::string_view kNameValueStart = "name=\"";
constexpr std::string_view kObjectStart = "<obj";
constexpr std::string_view kAttributeStart = "<att";
constexpr std::string_view kObjectEnd = "</obj>";
constexpr std::string_view kAttributeEnd = "</att>";
constexpr std::string_view kRootEnd = "</obj_archive>";
// Larger sizes than these are refused rather than allocated.
constexpr size_t kMaxBinarySize = 16u << 20;
constexpr size_t kMaxVectorSize = 4u << 20;
constexpr int kMaxRootSearchTags = 1000;
// Children of a node up to this count are found by scanning them; more get an index.
constexpr size_t kScannedChildren = 16;

enum NodeKind { kRootNode, kObjectNode, kAttributeNode };

[[noreturn]] void Fail(const std::string& detail, const ThrowSites::ArchiveCheck& check) {
  throw XMLArchive::ParseException(detail, check);
}

// A size attribute read as a decimal integer after white space and a sign.
size_t ReadSize(std::string_view text, size_t maximum, std::string_view name) {
  const std::int64_t size = NumberText::ParseInt64(text);
  if (size < 0 || static_cast<std::uint64_t>(size) > maximum) {
    Fail("size out of range for attribute '" + std::string(name) + "'", ThrowSites::kSizeInRange);
  }
  return static_cast<size_t>(size);
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

bool IsAlphanumeric(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// The digit's value, or -1 when c is no hex digit.
int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

struct XMLArchive::Node {
  int kind = kRootNode;
  size_t start = 0;         // the element's "<"
  size_t openEnd = 0;       // the start tag's ">"
  size_t contentStart = 0;  // after it
  size_t end = npos;        // the closing tag, npos when the element had none
  std::string_view name;
  std::vector<Node*> children;
  Node* parent = nullptr;
  // The first child of each name, made at the first lookup in a node with many children, so
  // reading every entry of a large object is not quadratic.
  std::unique_ptr<std::unordered_map<std::string_view, Node*>> firstByName;
};

XMLArchive::ParseException::ParseException(const std::string& detail, const ThrowSites::ArchiveCheck& check)
    : Vud::Exception(detail + "\nExpression '" + check.expression + "' failed in '" +
                     ThrowSites::kXMLArchiveSource + ":" + NumberText::FormatInteger(check.line)) {}

XMLArchive::XMLArchive(std::ostream& out, std::string archiveType, bool omitDeclaration)
    : Archive(std::move(archiveType)), mOut(&out), mOmitDeclaration(omitDeclaration) {}

XMLArchive::XMLArchive(const char* text, size_t length, ObjectFactory* factory)
    : Archive({}, factory), mText(text ? std::string_view(text, length) : std::string_view()) {
  size_t pos = 0;
  bool foundRoot = false;
  for (int tags = 0; tags < kMaxRootSearchTags; ++tags) {
    pos = mText.find('<', pos);
    if (pos == npos) break;
    if (pos + 1 < mText.size() && IsAlphanumeric(mText[pos + 1])) {
      foundRoot = true;
      break;
    }
    pos = mText.find('>', pos);
    if (pos == npos) break;
    ++pos;
  }
  if (!foundRoot) Fail("cant find root node, may not be archive data", ThrowSites::kFoundRoot);
  mNodes.push_back(std::make_unique<Node>());
  mRoot = mNodes.back().get();
  mRoot->start = pos;
  mRoot->openEnd = mText.find('>', pos);
  if (mRoot->openEnd == npos) Fail("expected '>', got to end of archive", ThrowSites::kStartTagEnd);
  mRoot->contentStart = mRoot->openEnd + 1;
  std::string_view type;
  if (FindTagValue(*mRoot, "type", type)) SetArchiveType(std::string(type));
}

XMLArchive::~XMLArchive() = default;

// ---- writing ----

void XMLArchive::BeginSave() {
  if (!mOut) return;
  if (!mOmitDeclaration) *mOut << "<?xml version=\"1.0\"?>\n";
  *mOut << "<" << kArchiveRootName << " type=\"" << GetArchiveType() << "\">\n";
}

void XMLArchive::EndSave() {
  if (!mOut) return;
  *mOut << "</" << kArchiveRootName << ">\n";
  mOut->flush();
  *mOut << '\0';
}

namespace {

// Values are not escaped, so one that would end its element or its program early, or that a
// bank cannot carry, cannot be written. Reading refuses it too: state that was taken once could
// never be saved again.
void CheckStorable(std::string_view name, std::string_view value) {
  if (value.find(kAttributeEnd) != npos || value.find("</program>") != npos || value.find('\r') != npos ||
      value.find('\0') != npos) {
    Fail("illegal value for '" + std::string(name) + "'", ThrowSites::kStorableValue);
  }
}

void CheckName(std::string_view name) {
  for (char special : kSpecialCharacters) {
    if (name.find(special) != npos) {
      Fail("illegal character in '" + std::string(name) + "'", ThrowSites::kNameCharacters);
    }
  }
}

}  // namespace

void XMLArchive::WriteScalar(std::string_view name, const char* type, std::string_view value) {
  CheckName(name);
  if (!mOut) return;
  *mOut << mIndent << "<att name=\"" << name << "\" type=\"" << type << "\">" << value << "</att>\n";
}

void XMLArchive::WriteBool(std::string_view name, bool value) {
  WriteScalar(name, "bool", value ? "true" : "false");
}

void XMLArchive::WriteInt(std::string_view name, std::int32_t value) {
  WriteScalar(name, "i", NumberText::FormatInteger(value));
}

void XMLArchive::WriteInt64(std::string_view name, std::int64_t value) {
  WriteScalar(name, "i64", NumberText::FormatInteger(value));
}

void XMLArchive::WriteFloat(std::string_view name, double value) {
  mFixedFloats = true;
  WriteScalar(name, "f", NumberText::FormatFixed(value, 16));
}

void XMLArchive::WriteString(std::string_view name, std::string_view value) {
  CheckStorable(name, value);
  WriteScalar(name, "str", value);
}

void XMLArchive::WriteObjectId(std::string_view name, ObjectId id) {
  WriteScalar(name, "ptr", NumberText::FormatUnsigned(id, 0));
}

void XMLArchive::WriteBinary(std::string_view name, const std::uint8_t* bytes, size_t length) {
  CheckName(name);
  if (!mOut) return;
  static const char kHex[] = "0123456789ABCDEF";
  *mOut << mIndent << "<att name=\"" << name << "\" type=\"bin\" bin_size=\""
        << NumberText::FormatUnsigned(length, 0) << "\">\n";
  for (size_t line = 0; line < length; line += 32) {
    std::string hex;
    for (size_t i = line; i < std::min(length, line + 32); ++i) {
      hex += kHex[bytes[i] >> 4];
      hex += kHex[bytes[i] & 0x0F];
    }
    *mOut << mIndent << '\t' << hex << '\n';
  }
  *mOut << mIndent << "</att>\n";
}

std::string XMLArchive::FormatNumber(double value) const {
  return mFixedFloats ? NumberText::FormatFixed(value, 16) : NumberText::FormatShort(value);
}

void XMLArchive::WriteNumbers(std::string_view name, size_t count, const double* doubles,
                              const float* floats) {
  CheckName(name);
  if (!mOut) return;
  *mOut << mIndent << "<att name=\"" << name << "\" type=\"fvec\" vec_size=\""
        << NumberText::FormatUnsigned(count, 0) << "\">\n";
  for (size_t i = 0; i < count; ++i) {
    *mOut << mIndent << '\t' << FormatNumber(doubles ? doubles[i] : static_cast<double>(floats[i]))
          << (i + 1 < count ? "|" : "") << '\n';
  }
  *mOut << mIndent << "</att>\n";
}

void XMLArchive::WriteVectorOfDouble(std::string_view name, const std::vector<double>& values) {
  WriteNumbers(name, values.size(), values.data(), nullptr);
}

void XMLArchive::WriteVectorOfFloat(std::string_view name, const std::vector<float>& values) {
  WriteNumbers(name, values.size(), nullptr, values.data());
}

ObjectId XMLArchive::BeginObject(Serializable& object, std::string_view name) {
  if (mOut) CheckName(name);
  const ObjectId id = Archive::BeginObject(object, name);
  if (id == 0 || !mOut) return id;
  *mOut << mIndent << "<obj id=\"" << NumberText::FormatUnsigned(id, 10) << "\" name=\"" << name
        << "\" type=\"" << object.GetTypeId() << "\">\n";
  mIndent.assign(GetOpenObjectCount(), '\t');
  return id;
}

void XMLArchive::EndObject(Serializable& object) {
  const size_t open = GetOpenObjectCount();
  Archive::EndObject(object);
  if (GetOpenObjectCount() == open || !mOut) return;
  mIndent.assign(GetOpenObjectCount(), '\t');
  *mOut << mIndent << "</obj>\n";
}

// ---- reading ----

size_t XMLArchive::FindText(std::string_view what, size_t from) const { return mText.find(what, from); }

std::string_view XMLArchive::StartTag(const Node& node) const {
  return mText.substr(node.start, node.openEnd - node.start + 1);
}

std::string_view XMLArchive::Content(const Node& node) const {
  if (node.end == npos || node.end < node.contentStart) return {};
  return mText.substr(node.contentStart, node.end - node.contentStart);
}

bool XMLArchive::FindTagValue(const Node& node, std::string_view attribute, std::string_view& value) const {
  const std::string_view tag = StartTag(node);
  // Quotes before `counted`, kept as the search moves on so a long tag is scanned once.
  size_t counted = 0;
  size_t quotes = 0;
  for (size_t from = 0;;) {
    const size_t match = tag.find(attribute, from);
    if (match == npos) return false;
    quotes += static_cast<size_t>(std::count(tag.begin() + static_cast<std::ptrdiff_t>(counted),
                                             tag.begin() + static_cast<std::ptrdiff_t>(match), '"'));
    counted = match;
    if (quotes % 2 == 1) {
      // The match lies inside a quoted value: go on after its closing quote.
      const size_t quotePairEnd = tag.find('"', match);
      if (quotePairEnd == npos) {
        Fail("cant find matching quote pair." + std::string(kNodeIs) + std::string(tag),
             ThrowSites::kQuotePair);
      }
      ++quotes;
      counted = from = quotePairEnd + 1;
      continue;
    }
    const size_t valStart = tag.find('"', match + attribute.size());
    if (valStart == npos) {
      Fail("cant find any attribute value in quotes \"*\" for attribute '" + std::string(attribute) + "'" +
               kNodeIs + std::string(tag),
           ThrowSites::kValueStart);
    }
    const size_t valEnd = tag.find('"', valStart + 1);
    if (valEnd == npos) Fail("cant find any attribute value in quotes \"*\"", ThrowSites::kValueEnd);
    value = tag.substr(valStart + 1, valEnd - valStart - 1);
    return true;
  }
}

size_t XMLArchive::ReadElement(Node& node, int depth) {
  node.openEnd = FindText(">", node.start);
  if (node.openEnd == npos) Fail("expected '>', got to end of archive", ThrowSites::kStartTagEnd);
  node.contentStart = node.openEnd + 1;
  const std::string_view tag = StartTag(node);
  if (const size_t name = tag.find(kNameValueStart); name != npos) {
    const size_t valueStart = name + kNameValueStart.size();
    const size_t close = tag.find('"', valueStart);
    if (close == npos)
      Fail("cant find matching quote pair." + std::string(kNodeIs) + std::string(tag),
           ThrowSites::kQuotePair);
    node.name = tag.substr(valueStart, close - valueStart);
  }
  if (node.kind == kAttributeNode) {
    node.end = FindText(kAttributeEnd, node.start);
    if (node.end == npos) Fail("expected '</att>', got to end of archive", ThrowSites::kAttributeEnd);
    return node.end + kAttributeEnd.size();
  }
  size_t pos = node.contentStart;
  for (;;) {
    pos = mText.find('<', pos);
    if (pos == npos) Fail("expected '<', got to end of archive", ThrowSites::kNextTag);
    const std::string_view rest = mText.substr(pos);
    if (rest.size() > 1 && rest[1] == '/') {
      if (StartsWith(rest, kObjectEnd)) {
        node.end = pos;
        std::string_view id;
        if (node.kind == kObjectNode && FindTagValue(node, "id", id)) {
          const std::int64_t value = NumberText::ParseInt64(id);
          mIdIndex[static_cast<ObjectId>(std::clamp<std::int64_t>(value, 0, 0xFFFFFFFFll))] = &node;
        }
        return pos + kObjectEnd.size();
      }
      if (StartsWith(rest, kRootEnd)) {
        node.end = pos;
        return pos + kRootEnd.size();
      }
      const size_t newPos = mText.find('>', pos);
      if (newPos == npos) Fail("expected '>', got to end of archive", ThrowSites::kClosingTagEnd);
      return newPos + 1;
    }
    const bool object = StartsWith(rest, kObjectStart);
    if (object || StartsWith(rest, kAttributeStart)) {
      if (object && depth >= kMaxDepth) Fail("objects nested too deeply", ThrowSites::kDepth);
      mNodes.push_back(std::make_unique<Node>());
      Node* child = mNodes.back().get();
      child->kind = object ? kObjectNode : kAttributeNode;
      child->start = pos;
      child->parent = &node;
      node.children.push_back(child);
      pos = ReadElement(*child, object ? depth + 1 : depth);
      continue;
    }
    pos = mText.find('>', pos);
    if (pos == npos) Fail("expected '>', got to end of archive", ThrowSites::kOtherTagEnd);
    ++pos;
  }
}

void XMLArchive::BeginLoad() {
  if (!mRoot) return;
  mRoot->children.clear();
  mIdIndex.clear();
  mNodes.resize(1);
  ReadElement(*mRoot, 0);
  mScopes.assign(1, mRoot);
}

XMLArchive::Node* XMLArchive::Scope() const {
  if (mScopes.empty()) Fail("the archive has not begun loading", ThrowSites::kLoading);
  return mScopes.back();
}

XMLArchive::Node* XMLArchive::Child(std::string_view name) const {
  Node* scope = Scope();
  if (scope->children.size() <= kScannedChildren) {
    for (Node* child : scope->children) {
      if (child->name == name) return child;
    }
    return nullptr;
  }
  if (!scope->firstByName) {
    scope->firstByName = std::make_unique<std::unordered_map<std::string_view, Node*>>();
    for (Node* child : scope->children) scope->firstByName->emplace(child->name, child);
  }
  const auto found = scope->firstByName->find(name);
  return found == scope->firstByName->end() ? nullptr : found->second;
}

bool XMLArchive::HasEntry(std::string_view name) { return !mScopes.empty() && Child(name) != nullptr; }

const XMLArchive::Node& XMLArchive::AttributeNode(std::string_view name) const {
  const Node* attrNode = Child(name);
  if (!attrNode) Fail("cant find attribute '" + std::string(name) + "'", ThrowSites::kAttributeFound);
  if (attrNode->kind != kAttributeNode) {
    Fail("node is not an attribute '" + std::string(StartTag(*attrNode)) + "'", ThrowSites::kIsAttribute);
  }
  std::string_view type;
  if (!FindTagValue(*attrNode, "type", type)) {
    Fail("cant find type for attribute '" + std::string(StartTag(*attrNode)) + "'",
         ThrowSites::kAttributeType);
  }
  return *attrNode;
}

bool XMLArchive::ReadBool(std::string_view name) { return Content(AttributeNode(name)) == "true"; }

std::int32_t XMLArchive::ReadInt(std::string_view name) {
  return NumberText::ParseLong32(Content(AttributeNode(name)));
}

std::int64_t XMLArchive::ReadInt64(std::string_view name) {
  return NumberText::DoubleToInt64(NumberText::ParseDouble(Content(AttributeNode(name))));
}

double XMLArchive::ReadFloat(std::string_view name) {
  return NumberText::ParseDouble(Content(AttributeNode(name)));
}

std::string XMLArchive::ReadString(std::string_view name) {
  const std::string_view value = Content(AttributeNode(name));
  CheckStorable(name, value);
  return std::string(value);
}

ObjectId XMLArchive::ReadObjectId(std::string_view name) {
  return static_cast<ObjectId>(NumberText::ParseInt64(Content(AttributeNode(name))));
}

std::unique_ptr<std::uint8_t[]> XMLArchive::ReadBinary(std::string_view name, size_t& length) {
  const Node& node = AttributeNode(name);
  std::string_view sizeText;
  FindTagValue(node, "bin_size", sizeText);
  const size_t count = ReadSize(sizeText, kMaxBinarySize, name);
  auto bytes = std::make_unique<std::uint8_t[]>(count + 1);
  size_t decoded = 0;
  int pending = -1;
  // Digits beyond the count are dropped, but the whole value must be hex: a damaged one is refused
  // rather than read as bytes nobody wrote.
  for (char c : Content(node)) {
    if (IsSpace(c)) continue;
    const int digit = HexDigit(c);
    if (digit < 0) Fail("illegal hex digit in '" + std::string(name) + "'", ThrowSites::kHexDigits);
    if (decoded >= count) continue;
    if (pending < 0) {
      pending = digit;
    } else {
      bytes[decoded++] =
          static_cast<std::uint8_t>((static_cast<unsigned>(pending) << 4) + static_cast<unsigned>(digit));
      pending = -1;
    }
  }
  length = count;
  return bytes;
}

namespace {

template <class Value>
void ReadNumbers(std::string_view content, std::string_view sizeText, std::string_view name,
                 std::vector<Value>& values) {
  const size_t count = ReadSize(sizeText, kMaxVectorSize, name);
  values.resize(count);
  // Each position of a run of white space reads as the position after the run does, so that is
  // parsed once per run rather than once per position.
  size_t runEnd = 0;
  size_t runUsed = 0;
  double runNumber = 0.0;
  bool parsed = false;
  size_t at = 0;
  for (size_t i = 0; i < count && at < content.size(); ++i) {
    if (!parsed || at > runEnd) {
      runEnd = at;
      while (runEnd < content.size() && IsSpace(content[runEnd])) ++runEnd;
      runNumber = NumberText::ParseDouble(content.substr(runEnd), &runUsed);
      parsed = true;
    }
    const size_t used = runUsed ? runEnd - at + runUsed : 0;
    values[i] = static_cast<Value>(used ? runNumber : 0.0);
    at += used ? used + 1 : 1;
  }
}

}  // namespace

void XMLArchive::ReadVectorOfDouble(std::string_view name, std::vector<double>& values) {
  const Node& node = AttributeNode(name);
  std::string_view sizeText;
  FindTagValue(node, "vec_size", sizeText);
  ReadNumbers(Content(node), sizeText, name, values);
}

void XMLArchive::ReadVectorOfFloat(std::string_view name, std::vector<float>& values) {
  const Node& node = AttributeNode(name);
  std::string_view sizeText;
  FindTagValue(node, "vec_size", sizeText);
  ReadNumbers(Content(node), sizeText, name, values);
}

void XMLArchive::EnterObject(std::string_view name, std::string_view) {
  if (mOut) return;
  Node* objNode = Child(name);
  if (!objNode) Fail("cant find object '" + std::string(name) + "'", ThrowSites::kObjectFound);
  if (objNode->kind != kObjectNode) {
    Fail("node is not an object '" + std::string(StartTag(*objNode)) + "'", ThrowSites::kIsObject);
  }
  std::string_view type;
  if (!FindTagValue(*objNode, "type", type)) {
    Fail("cant find type for object '" + std::string(StartTag(*objNode)) + "'", ThrowSites::kObjectType);
  }
  mScopes.push_back(objNode);
}

void XMLArchive::LeaveObject() {
  if (mScopes.size() > 1) mScopes.pop_back();
}

bool XMLArchive::EnterObjectPath(const std::vector<std::string>& names) {
  size_t entered = 0;
  for (const std::string& name : names) {
    Node* child = mScopes.empty() ? nullptr : Child(name);
    if (!child) {
      mScopes.resize(mScopes.size() - entered);
      return false;
    }
    mScopes.push_back(child);
    ++entered;
  }
  return true;
}

bool XMLArchive::LeaveObjects(int count) {
  if (count < 0 || static_cast<size_t>(count) + 1 > mScopes.size()) return false;
  mScopes.resize(mScopes.size() - static_cast<size_t>(count));
  return true;
}

std::string XMLArchive::ReadObjectType(ObjectId id) {
  const auto found = mIdIndex.find(id);
  if (found == mIdIndex.end())
    Fail("cant find object with id " + std::to_string(id), ThrowSites::kObjectIdFound);
  std::string_view type;
  if (!FindTagValue(*found->second, "type", type)) {
    Fail("cant find type for object '" + std::string(StartTag(*found->second)) + "'",
         ThrowSites::kObjectType);
  }
  return std::string(type);
}

}  // namespace Serialization
