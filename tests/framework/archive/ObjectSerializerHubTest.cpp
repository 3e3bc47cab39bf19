#include <gtest/gtest.h>

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
