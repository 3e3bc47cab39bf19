#include <gtest/gtest.h>

#include <thread>

#include "tests/toolkit/support/Pixels.h"
#include "toolkit/drawing/OGWorld.h"

namespace {

constexpr Color kWhiteText = kWhite;

struct Extent {
  std::int32_t left{INT32_MAX}, top{INT32_MAX}, right{INT32_MIN}, bottom{INT32_MIN};  // inclusive
};

Extent ExtentOf(const PixelSet& pixels) {
  Extent e;
  for (const auto& [x, y] : pixels) {
    e.left = std::min(e.left, x);
    e.right = std::max(e.right, x);
    e.top = std::min(e.top, y);
    e.bottom = std::max(e.bottom, y);
  }
  return e;
}

TEST(Text, WidthsOfTheSmallFontArePinned) {
  OGWorld world(Rect{0, 0, 1, 1});
  world.SetFont(DrawContext::kSmallFont, kWhiteText);
  const std::pair<const char*, std::int32_t> widths[] = {
      {"An unknown error occurred.", 114}, {"XY", 12}, {"Vector", 27}, {"Polar", 21},
      {"KVN Stereo Analyzer (OrbA)", 118}, {"", 0},
  };
  for (const auto& [text, width] : widths) EXPECT_EQ(world.GetStringWidth(text), width) << text;
}

TEST(Text, LineHeightsAreAscentPlusDescent) {
  EXPECT_EQ(GetGlyphFont(FontSize::kSmall9px).LineHeight(), 11);
  EXPECT_EQ(GetGlyphFont(FontSize::kNormal11px).LineHeight(), 13);
  EXPECT_GT(GetGlyphFont(FontSize::kNormal11px).Width("Vector"),
            GetGlyphFont(FontSize::kSmall9px).Width("Vector"));
}

TEST(Text, DrawStringStartsOnePixelLeftOfThePenOnItsBaseline) {
  OGWorld world(Rect{0, 0, 60, 40});
  world.SetOrigin(Point{-2, -3});
  world.SetFont(DrawContext::kNormalFont, kWhiteText);
  world.MoveTo(Point{10, 20});  // device (12, 23)
  world.DrawString("HH");
  const Glyph& h = *GetGlyphFont(FontSize::kNormal11px).Find('H');
  const Extent e = ExtentOf(Painted(world));
  EXPECT_EQ(e.left, 12 - 1 + h.left);
  EXPECT_EQ(e.bottom, 22);  // H sits on the baseline
  EXPECT_EQ(e.top, 23 - h.top);
  EXPECT_EQ(e.right, 12 - 1 + h.advance + h.left + h.width - 1);
  EXPECT_EQ(PixelAt(world, e.left, e.bottom), 0x00FFFFFFu);
}

TEST(Text, ByteAbove0x7FDrawCp1252Glyphs) {
  const GlyphFont& font = GetGlyphFont(FontSize::kSmall9px);
  EXPECT_GT(font.Find(0x80)->width, 0);  // euro sign
  EXPECT_GT(font.Find(0xE9)->width, 0);  // e acute
  EXPECT_EQ(font.Advance('\n'), 0);
  OGWorld world(Rect{0, 0, 20, 20});
  world.SetFont(DrawContext::kSmallFont, kWhiteText);
  world.MoveTo(Point{5, 10});
  world.DrawString(" \t \n");
  EXPECT_TRUE(Painted(world).empty());
}

TEST(Text, TextInRectWrapsAtSpacesAndLineFeedsBelowTheShiftedRectangle) {
  OGWorld world(Rect{0, 0, 200, 100});
  world.SetFont(DrawContext::kSmallFont, kWhiteText);
  const GlyphFont& font = GetGlyphFont(FontSize::kSmall9px);
  const std::int32_t lineWidth = font.Width("Polar Polar");
  world.DrawTextInRect("Polar Polar Polar\nXY", Rect{20, 10, 20 + lineWidth, 50});
  // Line 1 "Polar Polar" at baseline 22, line 2 "Polar" at 33, line 3 "XY" at 44; left edge x 15.
  OGWorld expected(Rect{0, 0, 200, 100});
  expected.SetFont(DrawContext::kSmallFont, kWhiteText);
  const std::pair<const char*, std::int32_t> lines[] = {{"Polar Polar", 22}, {"Polar", 33}, {"XY", 44}};
  for (const auto& [text, baseline] : lines) {
    expected.MoveTo(Point{16, baseline});
    expected.DrawString(text);
  }
  EXPECT_EQ(Painted(world), Painted(expected));
}

TEST(Text, AWordWiderThanTheRectangleIsCutWithAnEllipsis) {
  OGWorld world(Rect{0, 0, 200, 60});
  world.SetFont(DrawContext::kSmallFont, kWhiteText);
  const GlyphFont& font = GetGlyphFont(FontSize::kSmall9px);
  world.DrawTextInRect("XY Stereophonic", Rect{5, 0, 5 + font.Width("Stereo"), 60});
  OGWorld expected(Rect{0, 0, 200, 60});
  expected.SetFont(DrawContext::kSmallFont, kWhiteText);
  expected.MoveTo(Point{1, 12});
  expected.DrawString("XY");
  std::string cut = "Stereophonic";
  while (font.Width((cut + "...").c_str()) > font.Width("Stereo")) cut.pop_back();
  expected.MoveTo(Point{1, 23});
  expected.DrawString((cut + "...").c_str());
  EXPECT_EQ(Painted(world), Painted(expected));
  EXPECT_LT(cut.size(), 6u);
}

TEST(Text, TheAtlasIsBuiltOnceWhateverThreadAsksFirst) {
  const GlyphFont* seen[4] = {};
  std::thread threads[4];
  for (int i = 0; i < 4; ++i)
    threads[i] = std::thread([&seen, i] { seen[i] = &GetGlyphFont(FontSize::kSmall9px); });
  for (auto& t : threads) t.join();
  for (const GlyphFont* font : seen) EXPECT_EQ(font, seen[0]);
  EXPECT_EQ(seen[0]->Width("XY"), 12);
}

}  // namespace
