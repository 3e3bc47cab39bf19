#include "framework/archive/ArchivePathScope.h"

#include "framework/archive/Archive.h"

namespace Serialization {

ArchivePathScope::ArchivePathScope(Archive& archive, const std::vector<std::string>& names)
    : mArchive(archive),
      mNameCount(static_cast<int>(names.size())),
      mEntered(archive.EnterObjectPath(names)) {}

ArchivePathScope::~ArchivePathScope() {
  if (!mEntered) return;
  try {
    mArchive.LeaveObjects(mNameCount);
  } catch (...) {
    // A destructor must not throw: an archive that cannot leave its objects is left where it is.
  }
}

}  // namespace Serialization
