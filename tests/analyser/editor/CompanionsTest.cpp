#include <gtest/gtest.h>

#include "analyser/editor/alarms/KVNAlarmGroupNotificationFrame.h"
#include "analyser/editor/header/HeaderCompanions.h"
#include "analyser/engine/MeasurementIds.h"
#include "analyser/resources/BitmapInventory.h"
#include "tests/analyser/editor/support/PanelFixture.h"

using namespace MeasurementIds;

namespace {
std::uint32_t Rgb(const Color& c) {
  return std::uint32_t(c.red >> 8) << 16 | (c.green >> 8) << 8 | c.blue >> 8;
}
}  // namespace

// Classes the editor does not place, built as they are specified.
TEST(Companions, TheStandardGroupNotificationShowsItsCellsSideBySide) {
  PanelFixture f;
  auto* group =
      new KVNStdAlarmGroupNotificationFrame(&f.plugin, f.root.GetRootFrame(), 0, 0, kAntiphaseSummary);
  EXPECT_EQ(group->GetWidth(), 72);
  EXPECT_EQ(group->GetHeight(), 9);
  EXPECT_EQ(group->GetCell(), 0);
  f.Alarms().UpdateValue(kCorrelationInst, -90.0f, false, false);
  f.Alarms().UpdateValue(kCorrelationAvg, -90.0f, false, false);
  EXPECT_EQ(group->GetCell(), 3) << "the anti-phase group's severity";
  f.root.Flush();
  Color cell{};
  PixMapRef sprites(&f.root, bitmaps::kSprites);
  cell = sprites.Get()->GetPixelColor(Point{4 + 3 * 73 + 36, 198 + 4});
  EXPECT_EQ(f.root.Pixel(36, 4), Rgb(cell));
  f.Alarms().SetActive(kAntiphaseSummary, false);
  EXPECT_EQ(group->GetCell(), 0) << "deactivated";
}

TEST(Companions, FillFrameImportButtonAndCheckboxTakeTheirPictures) {
  PanelFixture f;
  Frame* root = f.root.GetRootFrame();
  new KVNFillFrame(root, 0, 0, 20, 10, 2, 2, 2, 2);
  auto* import = new HTWImportButton(root, 30, 0, 2, 5);
  auto* odd = new HTWImportButton(root, 50, 0, 9, 6);
  auto* box = new HTWCheckbox(root, 70, 0, 1, 7);
  f.root.Flush();
  EXPECT_EQ(f.root.Pixel(1, 1), bitmaps::colour::kFillFrameFill);
  EXPECT_EQ(f.root.Pixel(2, 2), bitmaps::colour::kFillFrameOutline);
  EXPECT_EQ(f.root.Pixel(10, 5), bitmaps::colour::kFillFrameFill);
  EXPECT_EQ(import->GetWidth(), 11);
  EXPECT_EQ(odd->GetButtonType(), PixMapButton::kAction);
  EXPECT_EQ(box->GetValue(), 1);
  EXPECT_EQ(box->GetWidth(), 10);
  PixMapRef sprites(&f.root, bitmaps::kSprites);
  EXPECT_EQ(f.root.Pixel(30 + 5, 5), Rgb(sprites.Get()->GetPixelColor(Point{148 + 5, 2 + 5})));
  EXPECT_EQ(f.root.Pixel(50 + 5, 5), Rgb(sprites.Get()->GetPixelColor(Point{110 + 5, 2 + 5})));
}
