// Feeds arbitrary bytes to the XML archive reader and reads every kind of attribute from them.
// The reader may refuse anything; only a crash, a hang or a sanitizer report is a finding.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/archive/XMLArchive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  static const char* const kNames[] = {"v", "a", "n", "Settings Metadata", "signature", "o", ""};
  try {
    Serialization::XMLArchive archive(reinterpret_cast<const char*>(data), size);
    archive.BeginLoad();
    for (int depth = 0; depth < 3; ++depth) {
      for (const char* name : kNames) {
        if (!archive.HasEntry(name)) continue;
        try {
          archive.ReadBool(name);
          archive.ReadInt(name);
          archive.ReadInt64(name);
          archive.ReadFloat(name);
          archive.ReadString(name);
          archive.ReadObjectId(name);
          size_t length = 0;
          archive.ReadBinary(name, length);
          std::vector<double> doubles;
          archive.ReadVectorOfDouble(name, doubles);
          std::vector<float> floats;
          archive.ReadVectorOfFloat(name, floats);
        } catch (const Serialization::XMLArchive::ParseException&) {
          // An attribute that does not read as every kind: the next name is tried.
        }
        try {
          archive.ReadObjectType(static_cast<Serialization::ObjectId>(depth + 1));
        } catch (const Serialization::XMLArchive::ParseException&) {
          // No object type at this id.
        }
      }
      bool entered = false;
      for (const char* name : kNames) {
        try {
          archive.EnterObject(name, "t");
          entered = true;
          break;
        } catch (const Serialization::XMLArchive::ParseException&) {
          // No object of that name here: the next name is tried.
        }
      }
      if (!entered) break;
    }
    archive.LeaveObjects(1);
  } catch (const Serialization::XMLArchive::ParseException&) {
    // The input refused as a whole.
  }
  return 0;
}
