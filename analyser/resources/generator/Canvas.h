#pragma once

#include <cstdint>
#include <string>

#include "toolkit/drawing/OGWorld.h"

// Drawing helpers of the bitmap generator on the toolkit's raster, in 0x00RRGGBB colours.
class Canvas {
 public:
  Canvas(int32_t width, int32_t height);

  OGWorld& World() { return mWorld; }
  const Surface& Pixels() const { return mWorld.GetSurface(); }

  void Fill(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t rgb);
  void Frame(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t rgb);
  void Line(int32_t x0, int32_t y0, int32_t x1, int32_t y1, uint32_t rgb);
  void Pixel(int32_t x, int32_t y, uint32_t rgb);
  // Vertical gradient from top to bottom colour.
  void Gradient(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t top, uint32_t bottom);
  // A raised (or, pressed, sunken) button body with a one-pixel edge.
  void Button(int32_t x, int32_t y, int32_t w, int32_t h, uint32_t face, bool pressed);
  void Text(int32_t x, int32_t baseline, const std::string& text, uint32_t rgb, bool small = true);
  void TextCentred(int32_t centreX, int32_t baseline, const std::string& text, uint32_t rgb,
                   bool small = true);
  int32_t TextWidth(const std::string& text, bool small = true);
  // Pixels of the circle of the given radius between two angles (radians, counter-clockwise from
  // the positive x axis, y up).
  void Arc(double cx, double cy, double radius, double from, double to, uint32_t rgb);
  void Clip(int32_t x, int32_t y, int32_t w, int32_t h);
  void Unclip();

 private:
  OGWorld mWorld;
};

uint32_t Mix(uint32_t a, uint32_t b, double t);
uint32_t Scale(uint32_t rgb, double factor);
