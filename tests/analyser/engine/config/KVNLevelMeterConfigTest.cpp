#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "analyser/engine/config/KVNLevelMeterConfig.h"
#include "framework/archive/XMLArchive.h"
#include "framework/services/MessagingServer.h"
#include "framework/services/PluginServices.h"
#include "tests/support/TreeArchive.h"

namespace {

using Config = KVNLevelMeterConfig::MeterConfig;
using Color = ZEBCanvas::SerializableColorSpec;
using Message = std::pair<std::int32_t, std::int32_t>;  // code, value

// A level-meter configuration on its own services, with every 'lmMn' message recorded.
class LevelMeterConfigTest : public testing::Test {
 protected:
  LevelMeterConfigTest() {
    MessagingServer& server = mServices.GetMessagingServer();
    server.Subscribe(mConfig.GetMessageClass(KVNLevelMeterConfig::kMessageClass), Record, &mMessages, 0);
  }

  static std::int32_t Record(MessageSubscription*, void* user, std::int32_t, MessageClass*, std::int32_t code,
                             std::int32_t value, void*) {
    if (code != kMessageClassRemoved) static_cast<std::vector<Message>*>(user)->emplace_back(code, value);
    return 0;
  }

  // Saves into one archive and hands the tree to a loading one.
  static void SaveInto(KVNLevelMeterConfig& config, TreeArchive& in) {
    TreeArchive out;
    config.Save(out);
    in.root = std::move(out.root);
  }

  PluginServices mServices;
  std::vector<Message> mMessages;
  KVNLevelMeterConfig mConfig{&mServices};
};

using Node = TreeArchive::Node;

Node* Child(Node& node, const std::string& name) {
  for (auto& c : node.children)
    if (c->name == name) return c.get();
  return nullptr;
}

std::string* Attribute(Node& node, const std::string& name) {
  for (auto& [key, value] : node.attributes)
    if (key == name) return &value;
  return nullptr;
}

bool RemoveChild(Node& node, const std::string& name) {
  for (auto it = node.children.begin(); it != node.children.end(); ++it)
    if ((*it)->name == name) {
      node.children.erase(it);
      return true;
    }
  return false;
}

bool RemoveAttribute(Node& node, const std::string& name) {
  for (auto it = node.attributes.begin(); it != node.attributes.end(); ++it)
    if (it->first == name) {
      node.attributes.erase(it);
      return true;
    }
  return false;
}

void ExpectSameColor(const Color& a, const Color& b, const char* what) {
  EXPECT_EQ(a.mRed, b.mRed) << what;
  EXPECT_EQ(a.mGreen, b.mGreen) << what;
  EXPECT_EQ(a.mBlue, b.mBlue) << what;
}

void ExpectSameConfig(const Config& a, const Config& b) {
  EXPECT_EQ(a.mPeakIsMain, b.mPeakIsMain);
  EXPECT_EQ(a.mIntegratedMeters, b.mIntegratedMeters);
  EXPECT_EQ(a.mZeroRef, b.mZeroRef);
  EXPECT_EQ(a.mCautionLevel, b.mCautionLevel);
  EXPECT_EQ(a.mWarningLevel, b.mWarningLevel);
  EXPECT_EQ(a.mMaxLevel, b.mMaxLevel);
  EXPECT_EQ(a.mMinLevel, b.mMinLevel);
  EXPECT_EQ(a.mLinStart, b.mLinStart);
  EXPECT_EQ(a.mWeighting, b.mWeighting);
  EXPECT_EQ(a.mPeakRiseTime, b.mPeakRiseTime);
  EXPECT_EQ(a.mPeakFallTime, b.mPeakFallTime);
  EXPECT_EQ(a.mPeakHold, b.mPeakHold);
  EXPECT_EQ(a.mPeakHoldTime, b.mPeakHoldTime);
  EXPECT_EQ(a.mPeakHoldFallTime, b.mPeakHoldFallTime);
  EXPECT_EQ(a.mEnableOverIndicator, b.mEnableOverIndicator);
  EXPECT_EQ(a.mPeakRMSParity, b.mPeakRMSParity);
  EXPECT_EQ(a.mDeceleration, b.mDeceleration);
  EXPECT_EQ(a.mRmsWindow, b.mRmsWindow);
  EXPECT_EQ(a.mRmsRiseTime, b.mRmsRiseTime);
  EXPECT_EQ(a.mRmsFallTime, b.mRmsFallTime);
  EXPECT_EQ(a.mRmsHold, b.mRmsHold);
  EXPECT_EQ(a.mRmsHoldTime, b.mRmsHoldTime);
  EXPECT_EQ(a.mRmsHoldFallTime, b.mRmsHoldFallTime);
  EXPECT_EQ(a.mPeakLinearFall, b.mPeakLinearFall);
  EXPECT_EQ(a.mRmsLinearFall, b.mRmsLinearFall);
  EXPECT_EQ(a.mPeakHoldLinearFall, b.mPeakHoldLinearFall);
  EXPECT_EQ(a.mRmsHoldLinearFall, b.mRmsHoldLinearFall);
  EXPECT_EQ(a.mLp20k, b.mLp20k);
  EXPECT_EQ(a.mShowPeak, b.mShowPeak);
  EXPECT_EQ(a.mShowRMS, b.mShowRMS);
  for (int i = 0; i < Config::kColorCount; ++i) ExpectSameColor(a.mColors[i], b.mColors[i], "colour");
}

// Changes every field of the selected type to a value no default has.
void ChangeEverything(KVNLevelMeterConfig& c) {
  c.SetShowPeak(false, false);
  c.SetShowRMS(false, false);
  c.SetPeakIsMain(false, false);
  c.SetIntegratedMeters(true, false);
  c.SetZeroRef(-3.25f, false);
  c.SetMinLevel(-90.0f, false);
  c.SetMaxLevel(12.0f, false);
  c.SetWarningLevel(0, 9.0f, false);
  c.SetWarningLevel(1, 8.0f, false);
  c.SetCautionLevel(0, 1.5f, false);
  c.SetCautionLevel(1, -30.0f, false);
  c.SetLinStart(-33.0f, false);
  c.SetWeighting(3, false);
  c.SetPeakRiseTime(0.125f, false);
  c.SetPeakFallTime(17.0f, false);
  c.SetPeakHold(false, false);
  c.SetPeakHoldTime(7.5f, false);
  c.SetPeakHoldFallTime(2.5f, false);
  c.SetDeceleration(-0.5f, false);
  c.SetPeakRMSParity(true, false);
  c.SetRmsWindow(0.3f, false);
  c.SetRmsRiseTime(4.0f, false);
  c.SetRmsFallTime(55.0f, false);
  c.SetRmsHold(false, false);
  c.SetRmsHoldTime(12.0f, false);
  c.SetRmsHoldFallTime(44.0f, false);
  c.SetLp20k(true, false);
  c.SetOverIndicator(false, false);
  for (int i = 0; i < Config::kColorCount; ++i)
    c.SetColor(i, Color(std::uint16_t(0x1000 + i), std::uint16_t(0x2000 + i), std::uint16_t(0x3000 + i)),
               false);
}

TEST_F(LevelMeterConfigTest, DefaultsPerMeterType) {
  struct Row {
    int type;
    bool peakIsMain, integrated;
    float zeroRef, caution, warning, maxLevel, minLevel, peakFall, peakHoldTime, decel, rmsRise, rmsFall;
    bool parity, rmsHold, rmsLinFall, peakHoldLinFall, rmsHoldLinFall, lp20k;
    Color normal, sub;
  };
  const Color green{0, 0xFFFF, 0}, cyan{0, 0xFFFF, 0xFFFF}, white{0xFFFF, 0xFFFF, 0xFFFF},
      ppm{0x4444, 0x8888, 0xFFFF};
  // type, peakIsMain, integrated, zeroRef, caution, warning, max, min, peakFall, peakHoldTime,
  // decel, rmsRise, rmsFall, parity, rmsHold, rmsLinFall, peakHoldLinFall, rmsHoldLinFall, lp20k
  const Row rows[] = {
      {0,     true, false, 0,    -12,  -6,    6,     -74,   40,    3,   0,
       0.15f, 40,   false, true, true, false, false, false, green, cyan},
      {1,     true, false, 0,    -12,  -6,    6,     -74,   40,    3,   0,
       0.15f, 40,   false, true, true, false, false, false, green, cyan},
      {2,    false,      true, -20,  0,     4,    0,     -100, 3,     10,   0.06f,
       0.6f, 166.66667f, true, true, false, true, false, true, green, white},
      {3,    false,      true, -14,  0,     4,    0,     -100, 3,     10,   0.06f,
       0.6f, 166.66667f, true, true, false, true, false, true, green, white},
      {4,    false,      true, -12,  0,     4,    0,     -100, 3,     10,   0.06f,
       0.6f, 166.66667f, true, true, false, true, false, true, green, white},
      {5,    true, true,  0,     0,    4,    0,    -70,   11.7f, 3,    0,
       0.6f, 0.6f, false, false, true, true, true, false, ppm,   white},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << "type " << r.type);
    const Config& c = mConfig.GetMeterConfig(r.type);
    EXPECT_EQ(c.mPeakIsMain, r.peakIsMain);
    EXPECT_EQ(c.mIntegratedMeters, r.integrated);
    EXPECT_EQ(c.mZeroRef, r.zeroRef);
    EXPECT_EQ(c.mCautionLevel, (std::array<float, 2>{r.caution, r.caution}));
    EXPECT_EQ(c.mWarningLevel, (std::array<float, 2>{r.warning, r.warning}));
    EXPECT_EQ(c.mMaxLevel, r.maxLevel);
    EXPECT_EQ(c.mMinLevel, r.minLevel);
    EXPECT_EQ(c.mLinStart, -20.0f);
    EXPECT_EQ(c.mPeakFallTime, r.peakFall);
    EXPECT_TRUE(c.mPeakHold);
    EXPECT_EQ(c.mPeakHoldTime, r.peakHoldTime);
    EXPECT_EQ(c.mPeakHoldFallTime, 10.0f);
    EXPECT_TRUE(c.mEnableOverIndicator);
    EXPECT_EQ(c.mPeakRMSParity, r.parity);
    EXPECT_EQ(c.mDeceleration, r.decel);
    EXPECT_EQ(c.mRmsWindow, 0.05f);
    EXPECT_EQ(c.mRmsRiseTime, r.rmsRise);
    EXPECT_EQ(c.mRmsFallTime, r.rmsFall);
    EXPECT_EQ(c.mRmsHold, r.rmsHold);
    EXPECT_TRUE(c.mPeakLinearFall);
    EXPECT_EQ(c.mRmsLinearFall, r.rmsLinFall);
    EXPECT_EQ(c.mPeakHoldLinearFall, r.peakHoldLinFall);
    EXPECT_EQ(c.mRmsHoldLinearFall, r.rmsHoldLinFall);
    EXPECT_EQ(c.mLp20k, r.lp20k);
    EXPECT_TRUE(c.mShowPeak && c.mShowRMS);
    ExpectSameColor(c.mColors[Config::clrNormal], r.normal, "normal");
    ExpectSameColor(c.mColors[Config::clrOver], Color(0xFFFF, 0, 0), "over");
    ExpectSameColor(c.mColors[Config::clrSubLevel], r.sub, "sub level");
    ExpectSameColor(c.mColors[Config::clrSubHold], r.sub, "sub hold");
  }
  ExpectSameConfig(mConfig.GetMeterConfig(1), mConfig.GetMeterConfig(0));
  EXPECT_EQ(mConfig.GetMeterType(), 0);
  EXPECT_EQ(mConfig.GetLevelRange(), 80.0f);
}

TEST_F(LevelMeterConfigTest, MeterTypeNamesAndAnyIndexStored) {
  const struct {
    int type;
    const char* display;
    const char* archive;
    bool kSystem;
  } cases[] = {
      {0, "Log", "mtrCustom", false},           {1, "Linear", "mtrCustomLin", false},
      {2, "K-20/RMS", "mtrK20_RMS", true},      {3, "K-14/RMS", "mtrK14_RMS", true},
      {4, "K-12/RMS", "mtrK12_RMS", true},      {5, "Digital PPM", "mtrBBCPPM", false},
      {6, "unknown", "mtrCustom", false},       {-1, "unknown", "mtrCustom", false},
      {1 << 30, "unknown", "mtrCustom", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    EXPECT_EQ(std::string(KVNLevelMeterConfig::GetMeterTypeName(c.type)), c.display);
    EXPECT_EQ(std::string(KVNLevelMeterConfig::GetMeterTypeArchiveName(c.type)), c.archive);
    mConfig.SetMeterType(c.type, true);
    EXPECT_EQ(mConfig.GetMeterType(), c.type);
    EXPECT_EQ(mConfig.IsKSystem(), c.kSystem);
    TreeArchive saved;
    SaveInto(mConfig, saved);
    EXPECT_EQ(*Attribute(saved.root, "mMeterType"), c.archive);
  }
  EXPECT_EQ(mMessages.size(), std::size(cases));
  EXPECT_EQ(mMessages.back(), Message(KVNLevelMeterConfig::kMsgMeterType, 0));

  // An unknown type reads and writes the first type's configuration.
  mConfig.SetMeterType(42, false);
  mConfig.SetPeakFallTime(20.0f, false);
  EXPECT_EQ(mConfig.GetMeterConfig(0).mPeakFallTime, 20.0f);
  EXPECT_EQ(mConfig.GetPeakFallTime(), 20.0f);
  EXPECT_EQ(mConfig.GetMeterConfig(42).mPeakFallTime, 20.0f);
}

TEST_F(LevelMeterConfigTest, SettersClampAndAnnounce) {
  using Setter = void (KVNLevelMeterConfig::*)(float, bool);
  using Getter = float (KVNLevelMeterConfig::*)() const;
  const struct {
    const char* what;
    Setter set;
    Getter get;
    std::int32_t code;
    float lo, hi;
  } cases[] = {
      {"zeroRef", &KVNLevelMeterConfig::SetZeroRef, &KVNLevelMeterConfig::GetZeroRef,
       KVNLevelMeterConfig::kMsgZeroRef, -40, 0},
      {"minLevel", &KVNLevelMeterConfig::SetMinLevel, &KVNLevelMeterConfig::GetMinLevel,
       KVNLevelMeterConfig::kMsgMinLevel, -144, -6},
      {"maxLevel", &KVNLevelMeterConfig::SetMaxLevel, &KVNLevelMeterConfig::GetMaxLevel,
       KVNLevelMeterConfig::kMsgMaxLevel, 0, 20},
      {"linStart", &KVNLevelMeterConfig::SetLinStart, &KVNLevelMeterConfig::GetLinStart,
       KVNLevelMeterConfig::kMsgLinStart, -144, 40},
      {"peakRise", &KVNLevelMeterConfig::SetPeakRiseTime, &KVNLevelMeterConfig::GetPeakRiseTime,
       KVNLevelMeterConfig::kMsgPeakRiseTime, 0, 1},
      {"peakFall", &KVNLevelMeterConfig::SetPeakFallTime, &KVNLevelMeterConfig::GetPeakFallTime,
       KVNLevelMeterConfig::kMsgPeakFallTime, 3, 90},
      {"peakHoldTime", &KVNLevelMeterConfig::SetPeakHoldTime, &KVNLevelMeterConfig::GetPeakHoldTime,
       KVNLevelMeterConfig::kMsgPeakHoldTime, -1, 20},
      {"peakHoldFall", &KVNLevelMeterConfig::SetPeakHoldFallTime, &KVNLevelMeterConfig::GetPeakHoldFallTime,
       KVNLevelMeterConfig::kMsgPeakHoldFallTime, 0.1f, 90},
      {"deceleration", &KVNLevelMeterConfig::SetDeceleration, &KVNLevelMeterConfig::GetDeceleration,
       KVNLevelMeterConfig::kMsgDeceleration, -1, 1},
      {"rmsWindow", &KVNLevelMeterConfig::SetRmsWindow, &KVNLevelMeterConfig::GetRmsWindow,
       KVNLevelMeterConfig::kMsgRmsWindow, 0.01f, 1},
      {"rmsRise", &KVNLevelMeterConfig::SetRmsRiseTime, &KVNLevelMeterConfig::GetRmsRiseTime,
       KVNLevelMeterConfig::kMsgRmsRiseTime, 0, 10},
      {"rmsFall", &KVNLevelMeterConfig::SetRmsFallTime, &KVNLevelMeterConfig::GetRmsFallTime,
       KVNLevelMeterConfig::kMsgRmsFallTime, 0.1f, 90},
      {"rmsHoldTime", &KVNLevelMeterConfig::SetRmsHoldTime, &KVNLevelMeterConfig::GetRmsHoldTime,
       KVNLevelMeterConfig::kMsgRmsHoldTime, -1, 20},
      {"rmsHoldFall", &KVNLevelMeterConfig::SetRmsHoldFallTime, &KVNLevelMeterConfig::GetRmsHoldFallTime,
       KVNLevelMeterConfig::kMsgRmsHoldFallTime, 0.1f, 90},
  };
  const float inf = std::numeric_limits<float>::infinity();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const float mid = (c.lo + c.hi) / 2;
    for (const auto& [given, stored] :
         {std::pair{c.lo - 5, c.lo}, {c.hi + 5, c.hi}, {mid, mid}, {-inf, c.lo}, {inf, c.hi}}) {
      mMessages.clear();
      (mConfig.*c.set)(given, true);
      EXPECT_EQ((mConfig.*c.get)(), stored) << given;
      EXPECT_EQ(mMessages, (std::vector<Message>{{c.code, 0}}));
    }
    // Without announce nothing is sent; a NaN is ignored altogether.
    mMessages.clear();
    (mConfig.*c.set)(c.lo, false);
    (mConfig.*c.set)(std::nanf(""), true);
    EXPECT_EQ((mConfig.*c.get)(), c.lo);
    EXPECT_TRUE(mMessages.empty());
  }
}

TEST_F(LevelMeterConfigTest, CautionAndWarningStayApartPerColumn) {
  mConfig.SetCautionLevel(0, 0.0f, true);  // warning is -6
  EXPECT_EQ(mConfig.GetCautionLevel(0), -7.0f);
  mConfig.SetWarningLevel(1, 60.0f, true);
  EXPECT_EQ(mConfig.GetWarningLevel(1), 50.0f);
  mConfig.SetWarningLevel(1, -40.0f, true);  // caution is -12
  EXPECT_EQ(mConfig.GetWarningLevel(1), -11.0f);
  mConfig.SetCautionLevel(1, -200.0f, true);  // minimum is -74
  EXPECT_EQ(mConfig.GetCautionLevel(1), -73.0f);
  EXPECT_EQ(mConfig.GetCautionLevel(0), -7.0f) << "columns are independent";
  // A column out of range reaches column 0.
  mConfig.SetWarningLevel(7, 20.0f, true);
  EXPECT_EQ(mConfig.GetWarningLevel(0), 20.0f);
  EXPECT_EQ(mConfig.GetWarningLevel(-1), 20.0f);
  const std::int32_t c = KVNLevelMeterConfig::kMsgCautionLevel, w = KVNLevelMeterConfig::kMsgWarningLevel;
  EXPECT_EQ(mMessages, (std::vector<Message>{{c, 0}, {w, 1}, {w, 1}, {c, 1}, {w, 0}}));
}

TEST_F(LevelMeterConfigTest, FlagsWeightingAndColours) {
  using Setter = void (KVNLevelMeterConfig::*)(bool, bool);
  using Getter = bool (KVNLevelMeterConfig::*)() const;
  const struct {
    Setter set;
    Getter get;
    std::int32_t code;
  } flags[] = {
      {&KVNLevelMeterConfig::SetShowPeak, &KVNLevelMeterConfig::GetShowPeak,
       KVNLevelMeterConfig::kMsgShowPeak},
      {&KVNLevelMeterConfig::SetShowRMS, &KVNLevelMeterConfig::GetShowRMS, KVNLevelMeterConfig::kMsgShowRMS},
      {&KVNLevelMeterConfig::SetPeakIsMain, &KVNLevelMeterConfig::GetPeakIsMain,
       KVNLevelMeterConfig::kMsgPeakIsMain},
      {&KVNLevelMeterConfig::SetIntegratedMeters, &KVNLevelMeterConfig::GetIntegratedMeters,
       KVNLevelMeterConfig::kMsgIntegratedMeters},
      {&KVNLevelMeterConfig::SetPeakHold, &KVNLevelMeterConfig::GetPeakHold,
       KVNLevelMeterConfig::kMsgPeakHold},
      {&KVNLevelMeterConfig::SetPeakRMSParity, &KVNLevelMeterConfig::GetPeakRMSParity,
       KVNLevelMeterConfig::kMsgPeakRMSParity},
      {&KVNLevelMeterConfig::SetRmsHold, &KVNLevelMeterConfig::GetRmsHold, KVNLevelMeterConfig::kMsgRmsHold},
      {&KVNLevelMeterConfig::SetLp20k, &KVNLevelMeterConfig::GetLp20k, KVNLevelMeterConfig::kMsgLp20k},
      {&KVNLevelMeterConfig::SetOverIndicator, &KVNLevelMeterConfig::GetOverIndicator,
       KVNLevelMeterConfig::kMsgOverIndicator},
  };
  for (const auto& f : flags) {
    for (bool on : {true, false}) {
      mMessages.clear();
      (mConfig.*f.set)(on, true);
      EXPECT_EQ((mConfig.*f.get)(), on);
      EXPECT_EQ(mMessages, (std::vector<Message>{{f.code, 0}}));
    }
  }
  mMessages.clear();
  mConfig.SetWeighting(-5, true);
  EXPECT_EQ(mConfig.GetWeighting(), -5);

  mConfig.SetMeterType(KVNLevelMeterConfig::mtrK14_RMS, false);
  mConfig.SetColor(Config::clrWarning, Color(1, 2, 3), true);
  ExpectSameColor(*mConfig.GetColor(Config::clrWarning), Color(1, 2, 3), "set");
  ExpectSameColor(mConfig.GetMeterConfig(3).mColors[Config::clrWarning], Color(1, 2, 3),
                  "on the selected type");
  ExpectSameColor(mConfig.GetMeterConfig(2).mColors[Config::clrWarning], Color(0xFFFF, 0, 0),
                  "others untouched");
  // Colour indices out of range reach colour 0.
  mConfig.SetColor(6, Color(4, 5, 6), true);
  mConfig.SetColor(-1, Color(4, 5, 6), true);
  ExpectSameColor(*mConfig.GetColor(0), Color(4, 5, 6), "index 0");
  EXPECT_EQ(mConfig.GetColor(99), mConfig.GetColor(0));
  const std::int32_t colr = KVNLevelMeterConfig::kMsgColor;
  EXPECT_EQ(mMessages,
            (std::vector<Message>{{KVNLevelMeterConfig::kMsgWeighting, 0}, {colr, 2}, {colr, 0}, {colr, 0}}));
}

TEST_F(LevelMeterConfigTest, RoundTripRestoresCustomTypesFullyAndKSystemHolds) {
  for (int type = 0; type < KVNLevelMeterConfig::kMeterTypeCount; ++type) {
    mConfig.SetMeterType(type, false);
    ChangeEverything(mConfig);
  }
  mConfig.SetMeterType(KVNLevelMeterConfig::mtrK12_RMS, false);

  TreeArchive in;
  SaveInto(mConfig, in);
  KVNLevelMeterConfig loaded(&mServices);
  std::vector<Message> loadedMessages;
  mServices.GetMessagingServer().Subscribe(loaded.GetMessageClass(KVNLevelMeterConfig::kMessageClass), Record,
                                           &loadedMessages, 0);
  loaded.Load(in);

  EXPECT_EQ(loaded.GetMeterType(), KVNLevelMeterConfig::mtrK12_RMS);
  EXPECT_EQ(loadedMessages, (std::vector<Message>{{KVNLevelMeterConfig::kMsgMeterType, 0}}));
  for (int type : {0, 1}) {
    SCOPED_TRACE(type);
    ExpectSameConfig(loaded.GetMeterConfig(type), mConfig.GetMeterConfig(type));
  }
  const KVNLevelMeterConfig defaults(&mServices);
  for (int type : {2, 3, 4, 5}) {
    SCOPED_TRACE(type);
    const Config& got = loaded.GetMeterConfig(type);
    const Config& saved = mConfig.GetMeterConfig(type);
    Config want = defaults.GetMeterConfig(type);
    if (type != KVNLevelMeterConfig::mtrBBCPPM) {
      want.mPeakHold = saved.mPeakHold;
      want.mPeakHoldTime = saved.mPeakHoldTime;
      want.mRmsHold = saved.mRmsHold;
      want.mRmsHoldTime = saved.mRmsHoldTime;
    }
    ExpectSameConfig(got, want);
    EXPECT_EQ(got.mPeakHoldTime, type == 5 ? 3.0f : 7.5f);
  }

  // Saved with the layout and class identifiers the archives carry.
  Node& tree = in.root;
  ASSERT_EQ(tree.attributes.size(), 1u);
  EXPECT_EQ(tree.attributes[0], (std::pair<std::string, std::string>{"mMeterType", "mtrK12_RMS"}));
  std::vector<std::string> names;
  for (const auto& child : tree.children) names.push_back(child->name + " " + child->type);
  EXPECT_EQ(names, (std::vector<std::string>{"mtrCustom QMR_KVNLevelMeterConfig::MeterConfig",
                                             "mtrCustomLin QMR_KVNLevelMeterConfig::MeterConfig",
                                             "mtrK20_RMS QMR_KVNKSysMeterConfigMutableParamArchiveHelper",
                                             "mtrK14_RMS QMR_KVNKSysMeterConfigMutableParamArchiveHelper",
                                             "mtrK12_RMS QMR_KVNKSysMeterConfigMutableParamArchiveHelper",
                                             "mtrBBCPPM QMR_KVNBBCPPMMeterConfigMutableParamArchiveHelper"}));
  EXPECT_EQ(Child(tree, "mtrCustom")->attributes.size(), 32u);
  ASSERT_EQ(Child(tree, "mtrCustom")->children.size(), std::size_t(Config::kColorCount));
  EXPECT_EQ(Child(tree, "mtrCustom")->children.back()->name, "clrSubHold");
  EXPECT_EQ(Child(tree, "mtrCustom")->children.back()->type, "SerializableColorSpec");
  std::vector<std::string> kSystemKeys;
  for (const auto& [key, value] : Child(tree, "mtrK14_RMS")->attributes) kSystemKeys.push_back(key);
  EXPECT_EQ(kSystemKeys, (std::vector<std::string>{"peakHold", "peakHoldTime", "rmsHold", "rmsHoldTime"}));
  EXPECT_TRUE(Child(tree, "mtrK14_RMS")->children.empty());
  EXPECT_TRUE(Child(tree, "mtrBBCPPM")->attributes.empty());
}

TEST_F(LevelMeterConfigTest, LoadKeepsWhatTheArchiveLacksOrCannotHold) {
  KVNLevelMeterConfig source(&mServices);
  for (int type = 0; type < KVNLevelMeterConfig::kMeterTypeCount; ++type) {
    source.SetMeterType(type, false);
    ChangeEverything(source);
  }
  TreeArchive in;
  SaveInto(source, in);
  Node& tree = in.root;
  ASSERT_TRUE(RemoveChild(tree, "mtrK14_RMS"));
  ASSERT_TRUE(RemoveChild(tree, "mtrCustomLin"));
  *Attribute(tree, "mMeterType") = "mtrVU";
  Node* custom = Child(tree, "mtrCustom");
  ASSERT_TRUE(RemoveAttribute(*custom, "minLevel"));
  ASSERT_TRUE(RemoveChild(*custom, "clrOver"));
  *Attribute(*custom, "zeroRef") = "nan";
  *Attribute(*custom, "maxLevel") = "1e300";
  *Attribute(*custom, "linStart") = "-inf";

  mConfig.SetMeterType(4, false);
  const KVNLevelMeterConfig defaults(&mServices);
  mConfig.Load(in);

  EXPECT_EQ(mConfig.GetMeterType(), 0) << "an unknown type name selects the first type";
  ExpectSameConfig(mConfig.GetMeterConfig(3), defaults.GetMeterConfig(3));
  ExpectSameConfig(mConfig.GetMeterConfig(1), defaults.GetMeterConfig(1));
  EXPECT_EQ(mConfig.GetMeterConfig(2).mPeakHoldTime, 7.5f) << "the types that are there still load";
  const Config& c = mConfig.GetMeterConfig(0);
  EXPECT_EQ(c.mMinLevel, -74.0f);
  EXPECT_EQ(c.mZeroRef, 0.0f);
  EXPECT_EQ(c.mMaxLevel, 6.0f);
  EXPECT_EQ(c.mLinStart, -20.0f);
  ExpectSameColor(c.mColors[Config::clrOver], Color(0xFFFF, 0, 0), "missing colour");
  EXPECT_EQ(c.mPeakFallTime, 17.0f);
  ExpectSameColor(c.mColors[Config::clrNormal], Color(0x1000, 0x2000, 0x3000), "loaded colour");
}

TEST_F(LevelMeterConfigTest, FailedLoadChangesNothing) {
  KVNLevelMeterConfig source(&mServices);
  ChangeEverything(source);
  source.SetMeterType(KVNLevelMeterConfig::mtrBBCPPM, false);
  TreeArchive in;
  SaveInto(source, in);
  // A K-System entry that is an attribute instead of an object cannot be entered.
  ASSERT_TRUE(RemoveChild(in.root, "mtrK20_RMS"));
  in.root.attributes.emplace_back("mtrK20_RMS", "1");
  const KVNLevelMeterConfig defaults(&mServices);
  EXPECT_THROW(mConfig.Load(in), std::out_of_range);
  EXPECT_EQ(mConfig.GetMeterType(), 0);
  for (int type = 0; type < KVNLevelMeterConfig::kMeterTypeCount; ++type)
    ExpectSameConfig(mConfig.GetMeterConfig(type), defaults.GetMeterConfig(type));
  EXPECT_TRUE(mMessages.empty());
}

}  // namespace

TEST_F(LevelMeterConfigTest, RoundTripThroughXmlText) {
  mConfig.SetMeterType(KVNLevelMeterConfig::mtrCustomLin, false);
  ChangeEverything(mConfig);
  std::ostringstream out;
  Serialization::XMLArchive writer(out, "test", true);
  writer.BeginSave();
  mConfig.SaveAsObject(writer, "KVNLevelMeterConfig");
  writer.EndSave();
  const std::string text = out.str();
  Serialization::XMLArchive reader(text.data(), text.size());
  reader.BeginLoad();
  KVNLevelMeterConfig loaded(&mServices);
  loaded.LoadAsObject(reader, "KVNLevelMeterConfig");
  EXPECT_EQ(loaded.GetMeterType(), KVNLevelMeterConfig::mtrCustomLin);
  ExpectSameConfig(loaded.GetMeterConfig(KVNLevelMeterConfig::mtrCustomLin),
                   mConfig.GetMeterConfig(KVNLevelMeterConfig::mtrCustomLin));
}
