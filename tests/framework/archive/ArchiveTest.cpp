#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/archive/Archive.h"
#include "framework/archive/ArchivePathScope.h"
#include "framework/archive/SerializableColorSpec.h"
#include "tests/support/TreeArchive.h"

namespace {

using Serialization::ObjectId;

// Counts its saves and can hold children or references.
class Item : public Serialization::Serializable {
 public:
  std::string_view GetTypeId() const override { return "QMR_Item"; }
  void Save(Serialization::Archive& archive) override {
    ++saves;
    archive.WriteInt("value", value);
    for (Item* child : children) child->SaveAsObject(archive, "child");
    for (Item* ref : refs) archive.WriteObjectRef("ref", ref);
    if (failSave) throw std::runtime_error("save failed");
  }
  void Load(Serialization::Archive& archive) override {
    value = archive.ReadIntOrDefault("value", -1);
    if (failLoad) throw std::runtime_error("load failed");
  }

  int saves{0};
  std::int32_t value{0};
  std::vector<Item*> children;
  std::vector<Item*> refs;
  bool failSave{false};
  bool failLoad{false};
};

TEST(Archive, AnObjectIsWrittenOncePerArchive) {
  TreeArchive archive;
  Item item;
  item.SaveAsObject(archive, "a");
  const ObjectId id = item.GetObjectId();
  EXPECT_NE(id, 0u);
  EXPECT_EQ(archive.BeginObject(item, "a"), 0u);
  item.SaveAsObject(archive, "a");
  EXPECT_EQ(item.saves, 1);
  EXPECT_EQ(item.GetObjectId(), id);
  EXPECT_EQ(archive.root.children.size(), 1u);
}

TEST(Archive, ObjectIdsContinueAcrossArchives) {
  Item first;
  Item second;
  Item third;
  ObjectId lastOfFirst = 0;
  {
    TreeArchive archive;
    first.SaveAsObject(archive, "first");
    second.SaveAsObject(archive, "second");
    EXPECT_EQ(second.GetObjectId(), first.GetObjectId() + 1);
    lastOfFirst = second.GetObjectId();
  }
  TreeArchive archive;
  third.SaveAsObject(archive, "third");
  EXPECT_EQ(third.GetObjectId(), lastOfFirst + 1);
  // An id from an earlier archive does not make the object this archive's.
  first.SaveAsObject(archive, "first");
  EXPECT_EQ(first.saves, 2);
  EXPECT_EQ(first.GetObjectId(), lastOfFirst + 2);
}

TEST(Archive, ACopyOfAnArchivedObjectIsItsOwnObject) {
  TreeArchive archive;
  Item item;
  item.SaveAsObject(archive, "a");
  Item copy = item;
  copy.SaveAsObject(archive, "b");
  EXPECT_EQ(archive.root.children.size(), 2u);
}

TEST(Archive, ObjectsNestAndEndEvenWhenSavingFails) {
  TreeArchive archive;
  Item inner;
  inner.failSave = true;
  Item outer;
  outer.children = {&inner};
  EXPECT_THROW(outer.SaveAsObject(archive, "outer"), std::runtime_error);
  EXPECT_EQ(archive.GetOpenObjectCount(), 0u);
  EXPECT_EQ(archive.Depth(), 0u);
  ASSERT_EQ(archive.root.children.size(), 1u);
  EXPECT_EQ(archive.root.children[0]->children.at(0)->name, "child");
  archive.EndObject(outer);  // not open: ignored
  EXPECT_EQ(archive.GetOpenObjectCount(), 0u);
}

TEST(Archive, ObjectReferencesWriteTheObjectOnceThenItsId) {
  TreeArchive archive;
  Item target;
  Item holder;
  holder.refs = {&target, &target};
  holder.SaveAsObject(archive, "holder");
  const TreeArchive::Node& node = *archive.root.children.at(0);
  ASSERT_EQ(node.children.size(), 1u);
  EXPECT_EQ(node.children[0]->name, "");
  EXPECT_EQ(target.saves, 1);
  const std::string id = std::to_string(target.GetObjectId());
  EXPECT_EQ(node.attributes,
            (std::vector<std::pair<std::string, std::string>>{{"value", "0"}, {"ref", id}, {"ref", id}}));
  try {
    archive.WriteObjectRef("none", nullptr);
    FAIL();
  } catch (int code) {
    EXPECT_EQ(code, 0);
  }
}

TEST(Archive, ReadingReferencesFindsRegisteredObjectsOrAsksTheFactory) {
  struct Factory : Serialization::ObjectFactory {
    Serialization::Serializable* CreateObject(std::string_view typeId) override {
      asked.emplace_back(typeId);
      return typeId == "QMR_Item" ? new Item : nullptr;
    }
    std::vector<std::string> asked;
  };
  TreeArchive saved;
  Item target;
  target.value = 42;
  Item holder;
  holder.refs = {&target};
  holder.SaveAsObject(saved, "holder");
  {
    TreeArchive plain;
    plain.root = std::move(saved.root);
    plain.EnterObject("holder", "QMR_Item");
    EXPECT_EQ(plain.ReadObjectRef("ref"), nullptr);  // no factory
    saved.root = std::move(plain.root);
  }
  Factory factory;
  TreeArchive loading(&factory);
  loading.root = std::move(saved.root);
  loading.EnterObject("holder", "QMR_Item");
  std::unique_ptr<Serialization::Serializable> made(loading.ReadObjectRef("ref"));
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(static_cast<Item*>(made.get())->value, 42);
  EXPECT_EQ(loading.ReadObjectRef("ref"), made.get());  // registered now
  EXPECT_EQ(factory.asked, std::vector<std::string>{"QMR_Item"});
}

TEST(Archive, LoadingLeavesTheObjectEvenWhenLoadFails) {
  TreeArchive archive;
  Item saved;
  saved.value = 7;
  saved.SaveAsObject(archive, "item");
  Item loaded;
  loaded.LoadAsObject(archive, "item");
  EXPECT_EQ(loaded.value, 7);
  EXPECT_EQ(archive.Depth(), 0u);
  loaded.failLoad = true;
  EXPECT_THROW(loaded.LoadAsObject(archive, "item"), std::runtime_error);
  EXPECT_EQ(archive.Depth(), 0u);
}

TEST(Archive, OrDefaultReadsFallBackOnlyForMissingNames) {
  TreeArchive archive;
  archive.WriteBool("b", true);
  archive.WriteInt("i", -3);
  archive.WriteInt64("l", 1LL << 40);
  archive.WriteFloat("f", 0.5);
  archive.WriteString("s", "text");
  EXPECT_TRUE(archive.ReadBoolOrDefault("b", false));
  EXPECT_EQ(archive.ReadIntOrDefault("i", 1), -3);
  EXPECT_EQ(archive.ReadInt64OrDefault("l", 1), 1LL << 40);
  EXPECT_EQ(archive.ReadFloatOrDefault("f", 1.0), 0.5);
  EXPECT_EQ(archive.ReadStringOrDefault("s", "x"), "text");
  EXPECT_FALSE(archive.ReadBoolOrDefault("B", false));
  EXPECT_EQ(archive.ReadIntOrDefault("I", 1), 1);
  EXPECT_EQ(archive.ReadInt64OrDefault("L", 2), 2);
  EXPECT_EQ(archive.ReadFloatOrDefault("F", 1.5), 1.5);
  EXPECT_EQ(archive.ReadStringOrDefault("S", "x"), "x");
}

TEST(ArchivePathScope, EntersAWholePathOrNothing) {
  TreeArchive archive;
  Item leaf;
  Item middle;
  middle.children = {&leaf};
  middle.SaveAsObject(archive, "middle");
  {
    Serialization::ArchivePathScope scope(archive, {"middle", "child"});
    EXPECT_TRUE(scope.IsOpen());
    EXPECT_EQ(archive.Depth(), 2u);
  }
  EXPECT_EQ(archive.Depth(), 0u);
  archive.EnterObject("middle", "QMR_Item");
  {
    Serialization::ArchivePathScope scope(archive, {"child", "missing"});
    EXPECT_FALSE(scope.IsOpen());
    EXPECT_EQ(archive.Depth(), 1u);
  }
  EXPECT_EQ(archive.Depth(), 1u);  // the failed scope left nothing on going
}

TEST(SerializableColorSpec, SavesItsComponentsAndReadsMissingOnesAsZero) {
  TreeArchive archive;
  ZEBCanvas::SerializableColorSpec colour(0x1234, 0xFFFF, 0x7FFF);
  colour.SaveAsObject(archive, "clr");
  const TreeArchive::Node& node = *archive.root.children.at(0);
  EXPECT_EQ(node.type, "SerializableColorSpec");
  EXPECT_EQ(node.attributes, (std::vector<std::pair<std::string, std::string>>{
                                 {"red", "4660"}, {"green", "65535"}, {"blue", "32767"}}));

  archive.root.children.at(0)->attributes = {{"red", "70000"}, {"blue", "5"}};
  ZEBCanvas::SerializableColorSpec loaded(9, 9, 9);
  loaded.LoadAsObject(archive, "clr");
  EXPECT_EQ(loaded.mRed, 70000 & 0xFFFF);
  EXPECT_EQ(loaded.mGreen, 0);
  EXPECT_EQ(loaded.mBlue, 5);
}

}  // namespace
