#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Analysers.h"
#include "analyser/engine/Korvane.h"
#include "analyser/engine/services/KorvaneServiceList.h"
#include "framework/archive/ObjectSerializerHub.h"
#include "framework/archive/XMLArchive.h"
#include "framework/services/PluginServices.h"
#include "tests/framework/core/CoreFixture.h"
#include "tests/support/TreeArchive.h"

namespace {

// An editor frame reading the phase service.
struct PhaseFrame : KorvaneServiceClient<KorvanePhaseService> {};
struct BalanceFrame : KorvaneServiceClient<KorvaneBalanceService> {};

std::vector<float> Sine(int frames, float gain, float phase) {
  std::vector<float> v(static_cast<std::size_t>(frames));
  for (int i = 0; i < frames; ++i)
    v[static_cast<std::size_t>(i)] = gain * std::sin(0.05f * static_cast<float>(i) + phase);
  return v;
}

TEST(KorvaneServiceList, OrderNamesAndLookup) {
  KorvaneServiceList list;
  ASSERT_EQ(list.GetServices().size(), 2u);
  EXPECT_EQ(list.GetServices()[0], &list.GetBalanceService());
  EXPECT_EQ(list.GetServices()[1], &list.GetPhaseService());
  EXPECT_STREQ(list.GetBalanceService().GetName(), "KorvaneBalanceService");
  EXPECT_STREQ(list.GetPhaseService().GetName(), "KorvanePhaseService");
  EXPECT_EQ(list.GetBalanceService().GetTypeId(), "QMR_KorvaneBalanceService");
  EXPECT_EQ(list.GetPhaseService().GetTypeId(), "QMR_KorvanePhaseService");
  EXPECT_EQ(list.Find("KorvanePhaseService"), &list.GetPhaseService());
  EXPECT_EQ(list.Find("Nothing"), nullptr);
  for (KorvaneServiceBase* service : list.GetServices()) EXPECT_TRUE(service->WantsAudio());
}

TEST(KorvaneServiceList, SetupIsBroadcastAndBadRatesAreRefused) {
  KorvaneServiceList list;
  list.Setup(44100.0f, 512, 2);
  EXPECT_EQ(list.GetPhaseService().GetSampleRate(), 44100.0f);
  EXPECT_EQ(list.GetBalanceService().GetChannelCount(), 2);
  for (float bad : {0.0f, -48000.0f, NAN, INFINITY, 1e12f}) {
    list.Setup(bad, 512, 2);
    EXPECT_EQ(list.GetPhaseService().GetSampleRate(), 44100.0f) << bad;
  }
  // A tiny but valid rate still gets windows of at least one sample.
  list.Setup(10.0f, 512, 2);
  Analysers analysers;
  analysers.Setup(10.0f);
  const std::vector<float> a = Sine(8, 0.5f, 0.0f);
  analysers.Process(a.data(), a.data(), 8);
  EXPECT_EQ(analysers.Correlation(), 1.0f);
}

TEST(KorvaneService, HasWorkFollowsClients) {
  Analysers analysers;
  analysers.Setup(48000.0f);
  KorvanePhaseService& phase = analysers.Phase();
  EXPECT_TRUE(phase.HasWork()) << "no clients: processes";
  phase.SetProcessWithoutClients(false);
  EXPECT_FALSE(phase.HasWork());
  phase.SetProcessWithoutClients(true);

  auto first = std::make_unique<PhaseFrame>();
  PhaseFrame second;
  first->AttachToService(analysers.List());
  second.AttachToService(analysers.List());
  first->AttachToService(analysers.List());  // again: listed once
  EXPECT_EQ(phase.GetClientCount(), 2u);
  EXPECT_EQ(first->GetService(), &phase);
  EXPECT_EQ(first->GetServiceList(), &analysers.List());
  EXPECT_TRUE(phase.HasWork());

  first->SetActive(false);
  second.SetActive(false);
  EXPECT_FALSE(phase.HasWork());
  // All clients inactive: the phase service skips the block, correlation stays.
  const std::vector<float> a = Sine(2400, 0.5f, 0.0f), b = Sine(2400, -0.5f, 0.0f);
  analysers.Process(a.data(), b.data(), 2400);
  EXPECT_EQ(analysers.Correlation(), 1.0f);

  second.SetActive(true);
  analysers.Process(a.data(), b.data(), 2400);
  EXPECT_EQ(analysers.Correlation(), -1.0f);

  first.reset();  // detaches on destruction
  EXPECT_EQ(phase.GetClientCount(), 1u);
  second.DetachFromService();
  EXPECT_EQ(phase.GetClientCount(), 0u);
  EXPECT_TRUE(phase.HasWork());
}

TEST(KorvaneService, ClientOutlivingItsServiceIsTold) {
  PhaseFrame frame;
  BalanceFrame balanceFrame;
  {
    KorvaneServiceList list;
    frame.AttachToService(list);
    balanceFrame.AttachToService(list);
    EXPECT_EQ(balanceFrame.GetService(), &list.GetBalanceService());
  }
  EXPECT_EQ(frame.GetService(), nullptr);
  EXPECT_EQ(frame.GetServiceList(), nullptr);
  frame.SetActive(false);  // nothing to tell
  frame.DetachFromService();
}

TEST(KorvaneService, SavedUnderTheirNamesThroughTheHub) {
  PluginServices services;
  KorvaneServiceList list;
  list.SetServices(&services);
  Serialization::ObjectSerializerHub hub;
  list.RegisterWith(hub);
  list.GetPhaseService().GetPhaseConfig()->SetPlotType(KVNPhaseConfig::typeXY, false);

  TreeArchive archive;
  archive.BeginSave();
  hub.SaveSatellites(archive);
  archive.EndSave();
  ASSERT_EQ(archive.root.children.size(), 2u);
  const TreeArchive::Node& balance = *archive.root.children[0];
  EXPECT_EQ(balance.name, "KorvaneBalanceService");
  EXPECT_EQ(balance.type, "QMR_KorvaneBalanceService");
  ASSERT_EQ(balance.attributes.size(), 1u);
  EXPECT_EQ(balance.attributes[0].first, "One");
  EXPECT_EQ(balance.attributes[0].second, "77");
  const TreeArchive::Node& phase = *archive.root.children[1];
  EXPECT_EQ(phase.name, "KorvanePhaseService");
  ASSERT_EQ(phase.children.size(), 1u);
  EXPECT_EQ(phase.children[0]->name, "KVNPhaseConfig");
  EXPECT_EQ(phase.children[0]->type, "QMR_KVNPhaseConfig");

  // Loaded into a fresh list; then an archive without the services leaves them as they are.
  PluginServices otherServices;
  KorvaneServiceList other;
  other.SetServices(&otherServices);
  archive.BeginLoad();
  for (KorvaneServiceBase* service : other.GetServices()) service->LoadFromArchive(archive);
  EXPECT_EQ(other.GetPhaseService().GetPhaseConfig()->GetPlotType(), KVNPhaseConfig::typeXY);

  other.GetPhaseService().GetPhaseConfig()->SetPlotType(KVNPhaseConfig::typeXYCentered, false);
  TreeArchive empty;
  empty.BeginLoad();
  for (KorvaneServiceBase* service : other.GetServices()) service->LoadFromArchive(empty);
  EXPECT_EQ(other.GetPhaseService().GetPhaseConfig()->GetPlotType(), KVNPhaseConfig::typeXYCentered);
}

}  // namespace

namespace {

TEST(KorvaneService, MonoPluginIsNotAnalysed) {
  FakePlatform platform;
  for (const IOConfig& io : {IOConfig{1, 1}, IOConfig{2, 2}}) {
    Korvane plugin(&platform, io);
    KorvaneServiceList list;
    list.SetServices(&plugin);
    list.Setup(48000.0f, 480, 2);
    const bool mono = io.first == 1;
    EXPECT_EQ(list.GetPhaseService().IsMono(), mono);
    EXPECT_EQ(list.GetBalanceService().IsMono(), mono);

    auto mid = list.GetBalanceService().GetMidPeakMeter().AddReader();
    const std::vector<float> a = Sine(4800, 0.5f, 0.0f), zeros(4800, 0.0f);
    for (KorvaneServiceBase* service : list.GetServices())
      service->Process(AnalysisView{a.data(), zeros.data()}, 4800);
    // A mono block is the first input and silence; analysed, it would read as left-only.
    EXPECT_EQ(mid->ReadRaw() > 0.0f, !mono);
    std::vector<ScopeBuffer*> ready;
    EXPECT_EQ(list.GetPhaseService().CollectReadyScopeBuffers(ready), !mono);
  }
}

}  // namespace

namespace {

TEST(KorvaneService, SettingsRoundTripThroughTheXmlArchive) {
  PluginServices services;
  KorvaneServiceList list;
  list.SetServices(&services);
  Serialization::ObjectSerializerHub hub;
  list.RegisterWith(hub);
  KVNPhaseConfig& config = *list.GetPhaseService().GetPhaseConfig();
  for (int type = 0; type < 3; ++type) {
    config.SetPlotType(type, false);
    config.SetPlotDensity(type + 1, false);
    config.SetPlotDecay(10 - type, false);
  }
  config.SetGainDb(12.5f, false);
  config.SetPhaseColor({0x1111, 0x2222, 0x3333}, false);

  std::ostringstream text;
  {
    Serialization::XMLArchive archive(text, "test", false);
    archive.BeginSave();
    hub.SaveSatellites(archive);
    archive.EndSave();
  }
  const std::string saved = text.str();
  EXPECT_NE(saved.find("KorvaneBalanceService"), std::string::npos) << saved;
  EXPECT_NE(saved.find("\"One\""), std::string::npos) << saved;

  PluginServices otherServices;
  KorvaneServiceList other;
  other.SetServices(&otherServices);
  Serialization::ObjectSerializerHub otherHub;
  other.RegisterWith(otherHub);
  Serialization::XMLArchive archive(saved.data(), saved.size());
  archive.BeginLoad();
  otherHub.LoadSatellites(archive);
  KVNPhaseConfig& loaded = *other.GetPhaseService().GetPhaseConfig();
  EXPECT_EQ(loaded.GetPlotType(), KVNPhaseConfig::typePolar);
  EXPECT_EQ(loaded.GetGainDb(), 12.5f);
  EXPECT_EQ(loaded.GetPhaseColor().mBlue, 0x3333);
  for (int type = 0; type < 3; ++type) {
    loaded.SetPlotType(type, false);
    EXPECT_EQ(loaded.GetPlotDensity(), type + 1);
    EXPECT_EQ(loaded.GetPlotDecay(), 10 - type);
  }
}

}  // namespace
