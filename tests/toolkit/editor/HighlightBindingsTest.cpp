// The highlight bindings on their own, with an overlay factory of the test's, over frames of a
// test root; the description of two parameters is ParameterHighlightTest.cpp's.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

#include "framework/core/PluginMetaClass.h"
#include "framework/services/FourCC.h"
#include "tests/toolkit/support/TestRoot.h"
#include "toolkit/editor/HighlightBindings.h"
#include "toolkit/editor/ParameterHighlights.h"

namespace {

constexpr std::int32_t kGain = FourCC('g', 'a', 'i', 'n');  // index 0
constexpr std::int32_t kPan = FourCC('p', 'a', 'n', ' ');   // index 1

class AwareFrame : public Frame, public ParameterHiliteAwareFrame {
 public:
  explicit AwareFrame(Frame* parent) : Frame(parent, 0, 50, 20, 20, 0, 0), ParameterHiliteAwareFrame(this) {}
};

using Made = std::vector<std::array<std::int32_t, 3>>;  // index, type, mode

TEST(HighlightBindings, OverlaysComeFromTheFactoryAndForgottenFramesAreNotTouched) {
  PluginMetaClassRef description;
  TestRoot root;
  Frame* plain = new Frame(root.GetRootFrame(), 10, 10, 20, 10, 0, 0);
  auto* aware = new AwareFrame(root.GetRootFrame());
  Frame* quiet = new Frame(root.GetRootFrame(), 40, 10, 20, 10, 0, 0);
  Made made;
  HighlightBindings bindings([&made](std::int32_t index, std::int32_t type, std::int32_t mode) {
    made.push_back({index, type, mode});
    return std::make_unique<DefaultParameterHighlighter>(type, mode);
  });
  bindings.Set(0, true, 1);  // no entries before the reset: ignored
  bindings.Bind(plain, kGain, 4);
  EXPECT_TRUE(made.empty());
  bindings.Reset();
  bindings.Set(0, true, 1);
  bindings.Bind(plain, kGain, 4);  // bound while highlighted: shown at once
  bindings.Bind(aware, kGain, 0);
  bindings.Bind(quiet, kPan, 1);  // mode 1 shows no highlight when one is set
  bindings.Set(1, true, 2);
  EXPECT_EQ(made, (Made{{0, 1, 4}}));
  EXPECT_NE(plain->GetOverlay(), nullptr);
  ASSERT_EQ(aware->GetHilites().size(), 1u);
  EXPECT_EQ(aware->GetHilites()[0].source, kGain);
  EXPECT_EQ(aware->GetHilites()[0].value, 1);
  EXPECT_EQ(quiet->GetOverlay(), nullptr);
  bindings.Forget(plain);
  bindings.Set(0, false, 0);
  EXPECT_NE(plain->GetOverlay(), nullptr);  // a forgotten frame is not touched
  EXPECT_TRUE(aware->GetHilites().empty());
  bindings.Reset();
  bindings.Set(0, true, 3);
  EXPECT_TRUE(aware->GetHilites().empty());  // the reset dropped the bindings
  EXPECT_EQ(made.size(), 1u);
}

}  // namespace
