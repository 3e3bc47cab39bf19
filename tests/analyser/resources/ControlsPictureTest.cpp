// The toolkit's controls and meters drawn from the product's own bitmaps where the analyser's
// panel puts them, written to PNGs for people to look at.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "analyser/resources/BitmapInventory.h"
#include "analyser/resources/generator/PngFile.h"
#include "framework/core/PluginMetaClass.h"
#include "tests/toolkit/support/TestRoot.h"
#include "tests/toolkit/support/TestTick.h"
#include "toolkit/controls/AboutFrame.h"
#include "toolkit/controls/ColorFrames.h"
#include "toolkit/controls/PixMapButton.h"
#include "toolkit/controls/PixMapSlider.h"
#include "toolkit/controls/TextFrame.h"
#include "toolkit/drawing/BitmapStore.h"
#include "toolkit/editor/PixMapRef.h"
#include "toolkit/frames/PixMapDrawFrame.h"
#include "toolkit/meters/AudioMeter.h"
#include "toolkit/meters/DualLevelAudioMeter.h"

namespace {

using namespace bitmaps;

std::string PicturePath(const char* name) { return std::string(VARNIS_PICTURE_DIR) + "/" + name; }

TEST(ControlsPicture, PanelControls) {
  TestTick tick(1000);
  TestRoot root(399, 369);
  PixMapRef panel(&root, kPanel), sprites(&root, kSprites);
  Frame* top = root.GetRootFrame();
  new PixMapDrawFrame(top, 0, 0, 399, 369, 0, 0, panel.Get(), 0, 1);
  struct Slider {
    std::int32_t y, backgroundY, min, max, value;
    const char* text;
  };
  const Slider sliders[] = {
      {194, 114, 1, 10, 5, "5"}, {211, 127, 1, 10, 8, "8"}, {228, 140, 0, 25, 12, "12"}};
  const Color readoutText = FromPixel(colour::kReadoutText), disabledText = FromPixel(colour::kDisabledText);
  PixMapSlider* gain = nullptr;
  for (const Slider& s : sliders) {
    gain = new PixMapSlider(top, 284, s.y, 62, 11, 140, s.backgroundY, sprites.Get(), 210, 114, 7, 11,
                            std::nullopt, 0x100, s.min, s.max, s.min, 7);
    gain->SetValue(s.value);
    auto* readout = new StaticTextPMFrame(top, 348, s.y, 28, 11, 65, 170, sprites.Get(), 0, 0);
    readout->SetTextColor(readoutText, false);
    readout->SetDisabledTextColor(disabledText, false);
    readout->SetText(s.text, true);
  }
  gain->SetEnabled(false);
  auto* autoGain = new BooleanButton(top, 284, 242, 10, 10, 11, 0, 1, 183, sprites.Get(), 0, 1, 0);
  autoGain->SetDisabledImage(23, 183);
  new BooleanButton(top, 334, 242, 10, 10, 11, 0, 1, 183, sprites.Get(), 0, 0, 1);
  new BooleanButton(top, 375, 125, 11, 11, 12, 0, 32, 241, sprites.Get(), 0, 1, 2);
  new ZEBCanvas::ColorPickerFrame(top, 285, 269, 76, 9, panel.Get(), 285, 409, 285, 409);
  auto* swatch = new ZEBCanvas::ColorFillFrame(top, 365, 269, 9, 9, 0);
  swatch->SetColor(Color{0x4F4F, 0xD1D1, 0xFFFF}, false);
  swatch->SetHatched(true);

  DualLevelAudioMeter* meters[2] = {};
  const std::uint32_t bars[2] = {colour::kMidBar, colour::kSideBar};
  for (int i = 0; i < 2; ++i) {
    auto* m = meters[i] = new DualLevelAudioMeter(top, 48, 331 + 14 * i, 137, 7, 2, 0x100, 0);
    m->SetZoneThreshold(0, -60.0f, false);
    m->SetZoneColors(0, FromPixel(bars[i]), kWhite, nullptr);
    m->SetZoneThreshold(1, i == 0 ? -10.0f : -20.0f, false);
    m->SetZoneColors(1, FromPixel(bars[i]), kWhite, nullptr);
    m->SetPeakHold(false, 0);
    m->SetPeakHold(false, 1);
    m->SetScaleKneeLevel(-26.0f);
    m->SetScaleKneeLength(100);
  }
  meters[0]->SetLevels(-12.0f, -18.0f);
  meters[1]->SetLevels(-30.0f, -34.0f);
  auto* ratio = new GainReductionMeter(top, 236, 331, 137, 3, 0x100, 0);
  ratio->SetFloorLevel(-40.0f);
  ratio->SetScaleCurve(0.5f);
  ratio->SetColors(kBlack, FromPixel(colour::kRatioBar), FromPixel(colour::kRatioBar),
                   FromPixel(colour::kRatioBar), FromPixel(colour::kRatioBar), true);
  ratio->SetPeakHold(false);
  ratio->SetLevel(-14.0f);
  root.Flush();
  ASSERT_TRUE(WritePng(PicturePath("panel-controls.png"), root.Window().GetSurface()));

  // Checkbox on and off, drawn from their sprite cells.
  const BitmapResource* sheet = FindBitmapResource(kSprites);
  auto sprite = [&](std::int32_t x, std::int32_t y) { return sheet->pixels[y * sheet->width + x]; };
  EXPECT_EQ(root.WindowPixel(334 + 5, 242 + 5), sprite(1 + 5, 183 + 5));
  EXPECT_EQ(root.WindowPixel(284 + 5, 242 + 5), sprite(12 + 5, 183 + 5));
  // The mid bar's colour from the panel and its end at -12 dB.
  EXPECT_EQ(root.WindowPixel(48 + 10, 331 + 3), colour::kMidBar);
  EXPECT_EQ(root.WindowPixel(48 + meters[0]->LevelToPixel(-12.0f) - 1, 331 + 3), colour::kMidBar);
}

// The about page shows the product's name, and its details view the product's description.
class ProductDescription {
 public:
  ProductDescription() : mDescription(AcquirePluginMetaClass()) {}
  // The analyser's own, made directly: the library's one comes from the same factory.
  static std::string MadeName() {
    return std::unique_ptr<ZEBPluginMetaClass>(CreateVstKorvaneMetaClass())->GetName();
  }
  ~ProductDescription() { ReleasePluginMetaClass(); }
  ProductDescription(const ProductDescription&) = delete;
  ProductDescription& operator=(const ProductDescription&) = delete;
  const ZEBPluginMetaClass* Get() const { return mDescription; }

 private:
  ZEBPluginMetaClass* mDescription{nullptr};
};

TEST(ControlsPicture, AboutPage) {
  ProductDescription description;
  ASSERT_NE(description.Get(), nullptr);
  EXPECT_EQ(description.Get()->GetName(), ProductDescription::MadeName());
  TestRoot root(399, 470);
  Frame* page = new Frame(root.GetRootFrame(), 0, 0, 399, 470, 0, 1);
  root.ShowPage(page);
  const Color background{0xE0E0, 0xE4E4, 0xE8E8};
  auto* about = new AboutFrame(root.GetRootFrame(), page, &root, kAbout, 285, 205, "Version 2.4.0", Point{},
                               "Made with our own tools.", &background, nullptr);
  root.ShowPage(about);
  root.Flush();
  ASSERT_TRUE(WritePng(PicturePath("about-page.png"), root.Window().GetSurface()));
  const BitmapResource* picture = FindBitmapResource(kAbout);
  EXPECT_EQ(root.WindowPixel(57, 132), picture->pixels[0]);
  EXPECT_EQ(root.WindowPixel(57 + 284, 132 + 204), picture->pixels[204 * 285 + 284]);
  EXPECT_EQ(root.WindowPixel(56, 200), 0xE0E4E8u);
  root.Window().shift = true;
  about->ProcessMouseEvent(Frame::MouseEvent{Frame::kMouseDown, 10, 10});
  root.Flush();
  ASSERT_TRUE(WritePng(PicturePath("about-details.png"), root.Window().GetSurface()));
}

}  // namespace
