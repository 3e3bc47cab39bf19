#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/archive/ObjectSerializerHub.h"
#include "tests/support/TreeArchive.h"

namespace {

class Satellite : public Serialization::ObjectSerializerSatellite {
 public:
  Satellite(std::vector<std::string>& log, std::string name) : mLog(log), mName(std::move(name)) {}
  void SaveToArchive(Serialization::Archive&) override { mLog.push_back("save " + mName); }
  void LoadFromArchive(Serialization::Archive&) override { mLog.push_back("load " + mName); }

 private:
  std::vector<std::string>& mLog;
  std::string mName;
};

using Log = std::vector<std::string>;

TEST(ObjectSerializerHub, SatellitesRunInRegistrationOrderOncePerHub) {
  Log log;
  TreeArchive archive;
  Serialization::ObjectSerializerHub hub;
  Satellite a(log, "a");
  Satellite b(log, "b");
  hub.AddSatellite(a);
  hub.AddSatellite(b);
  hub.AddSatellite(a);  // again: held once, now last
  hub.SaveSatellites(archive);
  hub.LoadSatellites(archive);
  EXPECT_EQ(log, (Log{"save b", "save a", "load b", "load a"}));
  log.clear();
  hub.RemoveSatellite(b);
  hub.RemoveSatellite(b);
  hub.SaveSatellites(archive);
  EXPECT_EQ(log, (Log{"save a"}));
}

TEST(ObjectSerializerHub, EitherSideMayBeDestroyedFirst) {
  Log log;
  TreeArchive archive;
  Serialization::ObjectSerializerHub hub;
  Satellite kept(log, "kept");
  hub.AddSatellite(kept);
  {
    Satellite gone(log, "gone");
    hub.AddSatellite(gone);
    Serialization::ObjectSerializerHub otherHub;
    otherHub.AddSatellite(gone);
    otherHub.AddSatellite(kept);
  }
  hub.SaveSatellites(archive);
  EXPECT_EQ(log, (Log{"save kept"}));
  {
    Satellite late(log, "late");
    auto* shortLived = new Serialization::ObjectSerializerHub;
    shortLived->AddSatellite(late);
    hub.AddSatellite(late);
    delete shortLived;
  }  // late's destructor must not reach the deleted hub
  log.clear();
  hub.SaveSatellites(archive);
  EXPECT_EQ(log, (Log{"save kept"}));
}

}  // namespace

namespace {

// A satellite that runs an action of the test when it is saved or loaded.
class Acting : public Serialization::ObjectSerializerSatellite {
 public:
  Acting(Log& log, std::string name) : mLog(log), mName(std::move(name)) {}
  void SaveToArchive(Serialization::Archive&) override { Act("save "); }
  void LoadFromArchive(Serialization::Archive&) override { Act("load "); }
  std::function<void()> action;

 private:
  void Act(const char* what) {
    mLog.push_back(what + mName);
    if (action) action();
  }
  Log& mLog;
  std::string mName;
};

TEST(ObjectSerializerHub, SatellitesMayAddAndRemoveSatellitesDuringAPass) {
  Log log;
  TreeArchive archive;
  Serialization::ObjectSerializerHub hub;
  Acting a(log, "a"), b(log, "b"), c(log, "c"), d(log, "d"), e(log, "e");
  for (Acting* s : {&a, &b, &c, &d}) hub.AddSatellite(*s);
  b.action = [&] { hub.RemoveSatellite(b); };  // itself: c is next
  c.action = [&] { hub.RemoveSatellite(a); };  // one already called: d is next
  d.action = [&] { hub.AddSatellite(e); };     // added: called in this pass too
  hub.SaveSatellites(archive);
  EXPECT_EQ(log, (Log{"save a", "save b", "save c", "save d", "save e"}));
  log.clear();
  b.action = d.action = nullptr;
  c.action = [&] { hub.RemoveSatellite(d); };  // the one after it: skipped
  hub.LoadSatellites(archive);
  EXPECT_EQ(log, (Log{"load c", "load e"}));
}

}  // namespace
