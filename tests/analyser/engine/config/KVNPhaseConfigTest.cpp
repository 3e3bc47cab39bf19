#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "analyser/engine/config/KVNPhaseConfig.h"
#include "framework/services/MessageSubscriber.h"
#include "framework/services/PluginServices.h"
#include "tests/support/TreeArchive.h"

namespace {

std::string CodeText(std::int32_t code) {
  std::string s;
  for (int shift = 24; shift >= 0; shift -= 8) s += static_cast<char>((code >> shift) & 0xFF);
  return s;
}

// Records the codes sent on the configuration's class.
class Listener : public MessageSubscriber<Listener> {
 public:
  Listener(PluginServices* services, KVNPhaseConfig& config) : MessageSubscriber<Listener>(services) {
    Subscribe(config.GetMessageClass(KVNPhaseConfig::kMessageClass), 1, &Listener::OnMessage);
  }
  std::int32_t OnMessage(std::int32_t code) {
    codes.push_back(CodeText(code));
    return 0;
  }
  std::vector<std::string> codes;
};

class PhaseConfig : public ::testing::Test {
 protected:
  PluginServices services;
  KVNPhaseConfig config{&services};
  Listener listener{&services, config};
  using Codes = std::vector<std::string>;
};

TEST_F(PhaseConfig, Defaults) {
  EXPECT_EQ(config.GetPlotType(), KVNPhaseConfig::typePolar);
  EXPECT_TRUE(config.GetAutoGain());
  EXPECT_EQ(config.GetGainDb(), 0.0f);
  EXPECT_TRUE(config.GetLowLevelGate());
  EXPECT_EQ(config.GetXYPlotStyle(), KVNPhaseConfig::xysPoints);
  EXPECT_EQ(config.GetPolarPlotStyle(), KVNPhaseConfig::ppsBars);
  EXPECT_EQ(config.GetPlotDensity(), 8);
  EXPECT_EQ(config.GetPlotDecay(), 2);
  config.SetPlotType(KVNPhaseConfig::typeXY, false);
  EXPECT_EQ(config.GetPlotDensity(), 6);
  EXPECT_EQ(config.GetPlotDecay(), 6);
  EXPECT_EQ(config.GetPhaseColor().mRed, 0);
  EXPECT_EQ(config.GetPhaseColor().mGreen, 0xFFFF);
  EXPECT_EQ(config.GetPhaseColor().mBlue, 0);
  EXPECT_TRUE(config.IsPhaseScopeEnabled());
  EXPECT_TRUE(listener.codes.empty()) << "no notify, no message";
}

TEST_F(PhaseConfig, SettersSendTheirCodes) {
  config.SetPlotType(KVNPhaseConfig::typeXYCentered, true);
  EXPECT_EQ(listener.codes, (Codes{"gain", "dens", "decy"}));
  struct Case {
    void (*set)(KVNPhaseConfig&);
    const char* code;
  };
  const Case cases[] = {
      {[](KVNPhaseConfig& c) { c.SetXYPlotStyle(1, true); }, "xySt"},
      {[](KVNPhaseConfig& c) { c.SetPolarPlotStyle(2, true); }, "ppSt"},
      {[](KVNPhaseConfig& c) { c.SetAutoGain(false, true); }, "agai"},
      {[](KVNPhaseConfig& c) { c.SetGainDb(12.0f, true); }, "mgai"},
      {[](KVNPhaseConfig& c) { c.SetLowLevelGate(false, true); }, "llgt"},
      {[](KVNPhaseConfig& c) { c.SetPlotDensity(3, true); }, "dens"},
      {[](KVNPhaseConfig& c) { c.SetPlotDecay(4, true); }, "decy"},
      {[](KVNPhaseConfig& c) {
         c.SetPhaseColor({1, 2, 3}, true);
       },
       "colr"},
      {[](KVNPhaseConfig& c) { c.SetPhaseScopeEnabled(false, true); }, "psEn"},
  };
  for (const Case& c : cases) {
    listener.codes.clear();
    c.set(config);
    EXPECT_EQ(listener.codes, Codes{c.code});
  }
  EXPECT_EQ(config.GetPlotDensity(), 3);
  EXPECT_EQ(config.GetPlotDecay(), 4);
  EXPECT_EQ(config.GetPhaseColor().mBlue, 3);
  EXPECT_FALSE(config.IsPhaseScopeEnabled());
}

TEST_F(PhaseConfig, SettersClampAndRefuse) {
  config.SetGainDb(-3.0f, false);
  EXPECT_EQ(config.GetGainDb(), 0.0f);
  config.SetGainDb(30.0f, false);
  EXPECT_EQ(config.GetGainDb(), 25.0f);
  listener.codes.clear();
  config.SetGainDb(NAN, true);
  EXPECT_EQ(config.GetGainDb(), 25.0f);
  EXPECT_TRUE(listener.codes.empty());

  config.SetPlotDensity(0, false);
  EXPECT_EQ(config.GetPlotDensity(), 1);
  config.SetPlotDecay(11, false);
  EXPECT_EQ(config.GetPlotDecay(), 10);
  config.SetPlotType(KVNPhaseConfig::typeXY, false);
  EXPECT_EQ(config.GetPlotDensity(), 6) << "only the current type's entry changed";
  EXPECT_EQ(config.GetPlotDecay(), 6);

  for (int bad : {-1, 3, 1000}) {
    config.SetPlotType(bad, true);
    EXPECT_EQ(config.GetPlotType(), KVNPhaseConfig::typeXY) << bad;
    EXPECT_TRUE(listener.codes.empty()) << bad;
  }
}

TEST_F(PhaseConfig, RoundTripKeepsEverySetting) {
  for (int type = 0; type < 3; ++type) {
    config.SetPlotType(type, false);
    config.SetPlotDensity(type + 2, false);
    config.SetPlotDecay(9 - type, false);
  }
  config.SetPlotType(KVNPhaseConfig::typeXYCentered, false);
  config.SetAutoGain(false, false);
  config.SetGainDb(7.5f, false);
  config.SetLowLevelGate(false, false);
  config.SetXYPlotStyle(KVNPhaseConfig::xysLines, false);
  config.SetPolarPlotStyle(KVNPhaseConfig::ppsLines, false);
  config.SetPhaseColor({0x1234, 0x5678, 0x9ABC}, false);
  config.SetPhaseScopeEnabled(false, false);

  TreeArchive archive;
  archive.BeginSave();
  config.SaveAsObject(archive, "KVNPhaseConfig");
  archive.EndSave();
  std::vector<std::string> names;
  for (const auto& attribute : archive.root.children[0]->attributes) names.push_back(attribute.first);
  EXPECT_EQ(names, (std::vector<std::string>{"mPlotType", "mAutoGain", "mGainDb", "mLowLevelGate",
                                             "mXYPlotStyle", "mPolarPlotStyle", "mPlotDensity[typeXY]",
                                             "mPlotDecay[typeXY]", "mPlotDensity[typeXYCentered]",
                                             "mPlotDecay[typeXYCentered]", "mPlotDensity[typePolar]",
                                             "mPlotDecay[typePolar]", "mPhaseScopeEnabled"}));

  PluginServices otherServices;
  KVNPhaseConfig loaded(&otherServices);
  Listener loadListener(&otherServices, loaded);
  archive.BeginLoad();
  loaded.LoadAsObject(archive, "KVNPhaseConfig");
  EXPECT_EQ(loadListener.codes, (Codes{"agai", "mgai", "gain", "xySt", "ppSt", "dens", "decy", "colr"}));
  EXPECT_EQ(loaded.GetPlotType(), KVNPhaseConfig::typeXYCentered);
  EXPECT_FALSE(loaded.GetAutoGain());
  EXPECT_EQ(loaded.GetGainDb(), 7.5f);
  EXPECT_FALSE(loaded.GetLowLevelGate());
  EXPECT_EQ(loaded.GetXYPlotStyle(), KVNPhaseConfig::xysLines);
  EXPECT_EQ(loaded.GetPolarPlotStyle(), KVNPhaseConfig::ppsLines);
  EXPECT_EQ(loaded.GetPhaseColor().mGreen, 0x5678);
  EXPECT_FALSE(loaded.IsPhaseScopeEnabled());
  for (int type = 0; type < 3; ++type) {
    loaded.SetPlotType(type, false);
    EXPECT_EQ(loaded.GetPlotDensity(), type + 2);
    EXPECT_EQ(loaded.GetPlotDecay(), 9 - type);
  }
}

// Loads one object holding the given attributes into `config`.
void LoadAttributes(KVNPhaseConfig& config, std::vector<std::pair<std::string, std::string>> attributes) {
  LoadFromAttributes(config, "KVNPhaseConfig", "QMR_KVNPhaseConfig", std::move(attributes));
}

TEST_F(PhaseConfig, LoadingUnknownNamesAndOddValues) {
  config.SetGainDb(5.0f, false);
  LoadAttributes(config, {{"mPlotType", "typeSpiral"},
                          {"mXYPlotStyle", "dots"},
                          {"mPolarPlotStyle", "rings"},
                          {"mPlotDensity[typePolar]", "50"},
                          {"mPlotDecay[typePolar]", "-4"},
                          {"mGainDb", "40"}});
  EXPECT_EQ(config.GetPlotType(), KVNPhaseConfig::typePolar);
  EXPECT_EQ(config.GetXYPlotStyle(), KVNPhaseConfig::xysLines);
  EXPECT_EQ(config.GetPolarPlotStyle(), KVNPhaseConfig::ppsPoints);
  EXPECT_EQ(config.GetPlotDensity(), 50) << "kept as loaded until the next setter call";
  EXPECT_EQ(config.GetPlotDecay(), -4);
  EXPECT_EQ(config.GetEffectivePlotDensity(), 10) << "what the scope, slider and readout use";
  EXPECT_EQ(config.GetEffectivePlotDecay(), 1);
  config.SetPlotType(KVNPhaseConfig::typeXY, false);
  EXPECT_EQ(config.GetEffectivePlotDensity(), 6) << "an in-range value is itself";
  config.SetPlotType(KVNPhaseConfig::typePolar, false);
  EXPECT_EQ(config.GetGainDb(), 25.0f) << "an out-of-range gain is clamped";
  config.SetPlotDensity(50, false);
  EXPECT_EQ(config.GetPlotDensity(), 10);

  LoadAttributes(config, {{"mGainDb", "nan"}});
  EXPECT_EQ(config.GetGainDb(), 25.0f) << "a NaN gain is refused";
  EXPECT_TRUE(config.GetAutoGain()) << "absent: true whatever it was";
  EXPECT_TRUE(config.IsPhaseScopeEnabled());
}

}  // namespace

namespace {

TEST_F(PhaseConfig, AColourOfEightBitComponentsFromOlderSettingsIsWidened) {
  const struct {
    std::uint16_t stored[3];
    std::uint16_t loaded[3];
  } cases[] = {
      {{0, 0xFF, 0x80}, {0, 0xFFFF, 0x8080}},  // 8-bit: widened
      {{0, 0, 0}, {0, 0, 0}},                  // black stays black
      {{0x100, 0x20, 0}, {0x100, 0x20, 0}},    // a component above 0xFF: already 16-bit
      {{0, 0xFFFF, 0}, {0, 0xFFFF, 0}},        // the default green
  };
  for (const auto& c : cases) {
    PluginServices services;
    KVNPhaseConfig source(&services);
    source.SetPhaseColor({c.stored[0], c.stored[1], c.stored[2]}, false);
    TreeArchive written;
    written.BeginSave();
    source.SaveAsObject(written, "KVNPhaseConfig");
    written.EndSave();
    written.BeginLoad();
    config.LoadAsObject(written, "KVNPhaseConfig");
    const auto& loaded = config.GetPhaseColor();
    EXPECT_EQ(loaded.mRed, c.loaded[0]);
    EXPECT_EQ(loaded.mGreen, c.loaded[1]);
    EXPECT_EQ(loaded.mBlue, c.loaded[2]);
  }
}

}  // namespace
