#pragma once

#include <string>
#include <vector>

namespace Serialization {

class Archive;

// Enters a path of nested objects for the scope's lifetime, if the whole path is there.
class ArchivePathScope {
 public:
  ArchivePathScope(Archive& archive, const std::vector<std::string>& names);
  ~ArchivePathScope();
  ArchivePathScope(const ArchivePathScope&) = delete;
  ArchivePathScope& operator=(const ArchivePathScope&) = delete;

  bool IsOpen() const { return mEntered; }

 private:
  Archive& mArchive;
  int mNameCount{0};
  bool mEntered{false};
};

}  // namespace Serialization
