#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <vector>

#include "framework/archive/Archive.h"
#include "tests/support/TreeArchive.h"

namespace {

class Empty : public Serialization::Serializable {
 public:
  std::string_view GetTypeId() const override { return "QMR_Empty"; }
  void Save(Serialization::Archive&) override {}
  void Load(Serialization::Archive&) override {}
};

TEST(ArchiveThreads, ObjectIdsStayUniqueAcrossThreads) {
  constexpr int kPerThread = 2000;
  std::vector<Serialization::ObjectId> ids[2];
  auto save = [&](int thread) {
    TreeArchive archive;
    std::vector<Empty> objects(kPerThread);
    for (Empty& object : objects) {
      object.SaveAsObject(archive, "o");
      ids[thread].push_back(object.GetObjectId());
    }
  };
  std::thread first(save, 0);
  std::thread second(save, 1);
  first.join();
  second.join();
  std::set<Serialization::ObjectId> all(ids[0].begin(), ids[0].end());
  all.insert(ids[1].begin(), ids[1].end());
  EXPECT_EQ(all.size(), 2u * kPerThread);
}

}  // namespace
