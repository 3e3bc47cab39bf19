// Parameter highlights on frames of an open editor, with a description of two parameters.
#include <gtest/gtest.h>

#include <memory>

#include "framework/core/PluginMetaClass.h"
#include "framework/services/FourCC.h"
#include "framework/services/PluginServices.h"
#include "platform/PlatformMutex.h"
#include "platform/headless/HeadlessPlatform.h"
#include "toolkit/editor/ParameterHighlights.h"
#include "toolkit/editor/VSTEditor.h"
#include "toolkit/frames/Frame.h"

namespace {

constexpr std::int32_t kGain = FourCC('g', 'a', 'i', 'n');
constexpr std::int32_t kPan = FourCC('p', 'a', 'n', ' ');

class TwoParameters : public ZEBPluginMetaClass {
 public:
  TwoParameters() {
    for (std::int32_t id : {kGain, kPan}) {
      ParameterDescriptor descriptor;
      descriptor.mId = id;
      AddParameter(descriptor);
    }
  }
  PluginCoreInterface* CreatePluginCore(PluginPlatform*, IOConfig) override { return nullptr; }
  std::string GetProductName() const override { return "Highlights"; }
  std::string GetName() const override { return "Highlights"; }
  std::string GetVersion() const override { return "1"; }
  std::string GetCopyright() const override { return ""; }
  void GetIOConfigs(IOConfigList& list) const override { list = {{2, 2}}; }
  std::string GetDefaultPrograms() const override { return {}; }
  bool StoresProgramSettings() const override { return false; }
  std::int32_t GetNumberOfPrograms() const override { return 1; }
  std::string GetParameterDisplayName(IOConfig, std::int32_t) const override { return "p"; }
};

struct NoLockHost : EditorHost {
  bool LockMutexForEntry() override { return true; }
  void UnlockMutex() override {}
  void HoldMutex(bool) override {}
  void HostIdle() override {}
};

class AwareFrame : public Frame, public ParameterHiliteAwareFrame {
 public:
  AwareFrame(Frame* parent) : Frame(parent, 0, 50, 20, 20, 0, 0), ParameterHiliteAwareFrame(this) {}
};

class ParameterHighlightTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(editor.open(reinterpret_cast<void*>(1)));
    plain = new Frame(editor.GetRootFrame(), 10, 10, 20, 10, 0, 0);
    aware = new AwareFrame(editor.GetRootFrame());
  }
  PluginMetaClassRef description;  // as a plug-in instance holds it
  NoLockHost host;
  PluginServices services;
  HeadlessPlatform platform;
  VSTEditor editor{nullptr, host, nullptr, &services, platform, 100, 80};
  Frame* plain = nullptr;
  AwareFrame* aware = nullptr;
};

TEST_F(ParameterHighlightTest, BoundFramesShowTheHighlightAsOverlayOrThemselves) {
  editor.BindFrameToParameter(plain, kPan, 6);
  editor.BindFrameToParameter(plain, kPan, 0);  // the first binding's mode stays
  editor.BindFrameToParameter(aware, kPan, 0);
  editor.BindFrameToParameter(plain, FourCC('n', 'o', 'n', 'e'), 0);  // unknown: nothing
  EXPECT_EQ(plain->GetOverlay(), nullptr);
  editor.SetParameterHighlight(1, true, 2);
  auto* overlay = dynamic_cast<DefaultParameterHighlighter*>(plain->GetOverlay());
  ASSERT_NE(overlay, nullptr);
  EXPECT_EQ(overlay->GetType(), 2);
  EXPECT_EQ(overlay->GetMode(), 6);
  ASSERT_EQ(aware->GetHilites().size(), 1u);
  EXPECT_EQ(aware->GetHilites()[0].source, kPan);
  EXPECT_EQ(aware->GetHilites()[0].value, 2);
  // A frame bound while the parameter is highlighted gets it at once.
  auto* late = new Frame(editor.GetRootFrame(), 40, 10, 20, 10, 0, 0);
  editor.BindFrameToParameter(late, kPan, 8);
  EXPECT_NE(late->GetOverlay(), nullptr);
  editor.SetParameterHighlight(1, false, 0);
  EXPECT_EQ(plain->GetOverlay(), nullptr);
  EXPECT_TRUE(aware->GetHilites().empty());
  editor.SetParameterHighlight(7, true, 0);  // out of range: ignored
}

TEST_F(ParameterHighlightTest, UnboundAndDestroyedFramesLeaveTheLists) {
  editor.BindFrameToParameter(plain, kGain, 0);
  editor.BindFrameToParameter(plain, kPan, 0);
  editor.SetParameterHighlight(0, true, 1);
  editor.UnbindFrameFromParameter(plain, kGain);
  EXPECT_EQ(plain->GetOverlay(), nullptr);
  editor.SetParameterHighlight(0, true, 3);
  EXPECT_EQ(plain->GetOverlay(), nullptr);  // no longer bound to gain
  editor.SetParameterHighlight(1, true, 3);
  EXPECT_NE(plain->GetOverlay(), nullptr);
  delete plain;  // a destroyed frame is never reached again
  editor.SetParameterHighlight(1, false, 0);
  editor.SetParameterHighlight(1, true, 0);
}

TEST(DefaultParameterHighlighter, DrawsThreePixelBracketsAtTheModesCorners) {
  PluginMetaClassRef description;
  NoLockHost host;
  PluginServices services;
  HeadlessPlatform platform;
  VSTEditor editor{nullptr, host, nullptr, &services, platform, 40, 30};
  ASSERT_TRUE(editor.open(reinterpret_cast<void*>(1)));
  auto* frame = new Frame(editor.GetRootFrame(), 10, 10, 10, 8, 0, 0);
  editor.BindFrameToParameter(frame, kGain, 7);  // right corners only
  editor.SetParameterHighlight(0, true, 0);
  platform.Window()->Expose({0, 0, 40, 30});
  editor.idle();
  HeadlessWindow& w = *platform.Window();
  EXPECT_EQ(w.Pixel(19, 10), 0x00FF0000u);  // top-right corner
  EXPECT_EQ(w.Pixel(16, 10), 0x00FF0000u);
  EXPECT_EQ(w.Pixel(19, 13), 0x00FF0000u);
  EXPECT_EQ(w.Pixel(19, 17), 0x00FF0000u);  // bottom-right corner
  EXPECT_NE(w.Pixel(10, 10), 0x00FF0000u);  // no left corners in this mode
  EXPECT_NE(w.Pixel(10, 17), 0x00FF0000u);
}

}  // namespace

ZEBPluginMetaClass* CreateVstKorvaneMetaClass() { return new TwoParameters(); }
