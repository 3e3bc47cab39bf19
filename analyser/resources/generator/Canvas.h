#pragma once

#include <cstdint>
#include <string>

#include "toolkit/drawing/OGWorld.h"

// Drawing helpers of the bitmap generator on the toolkit's raster, in 0x00RRGGBB colours.
class Canvas {
 public:
  Canvas(std::int32_t width, std::int32_t height);

  OGWorld& World() { return mWorld; }
  const Surface& Pixels() const { return mWorld.GetSurface(); }

  void Fill(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::uint32_t rgb);
  void Frame(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::uint32_t rgb);
  void Line(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1, std::uint32_t rgb);
  void Pixel(std::int32_t x, std::int32_t y, std::uint32_t rgb);
  // Vertical gradient from top to bottom colour.
  void Gradient(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::uint32_t top,
                std::uint32_t bottom);
  // A raised (or, pressed, sunken) button body with a one-pixel edge.
  void Button(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::uint32_t face,
              bool pressed);
  void Text(std::int32_t x, std::int32_t baseline, const std::string& text, std::uint32_t rgb,
            bool small = true);
  void TextCentred(std::int32_t centreX, std::int32_t baseline, const std::string& text, std::uint32_t rgb,
                   bool small = true);
  std::int32_t TextWidth(const std::string& text, bool small = true);
  // Pixels of the circle of the given radius between two angles (radians, counter-clockwise from
  // the positive x axis, y up).
  void Arc(double cx, double cy, double radius, double from, double to, std::uint32_t rgb);
  void Clip(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h);
  void Unclip();

 private:
  OGWorld mWorld;
};

std::uint32_t Mix(std::uint32_t a, std::uint32_t b, double t);
std::uint32_t Scale(std::uint32_t rgb, double factor);
