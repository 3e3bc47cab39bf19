#include "analyser/resources/generator/Canvas.h"

#include <algorithm>
#include <cmath>

Canvas::Canvas(std::int32_t width, std::int32_t height) : mWorld(Rect{0, 0, width, height}) {}

void Canvas::Fill(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::uint32_t rgb) {
  mWorld.SetForeColor(FromPixel(rgb));
  mWorld.FillRect(Rect{x, y, x + w, y + h});
}

void Canvas::Frame(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::uint32_t rgb) {
  mWorld.SetForeColor(FromPixel(rgb));
  mWorld.FrameRect(Rect{x, y, x + w, y + h});
}

void Canvas::Line(std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1, std::uint32_t rgb) {
  mWorld.SetForeColor(FromPixel(rgb));
  mWorld.MoveTo(Point{x0, y0});
  mWorld.LineTo(Point{x1, y1});
}

void Canvas::Pixel(std::int32_t x, std::int32_t y, std::uint32_t rgb) { Fill(x, y, 1, 1, rgb); }

void Canvas::Gradient(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::uint32_t top,
                      std::uint32_t bottom) {
  for (std::int32_t row = 0; row < h; ++row)
    Fill(x, y + row, w, 1, Mix(top, bottom, h > 1 ? double(row) / (h - 1) : 0));
}

void Canvas::Button(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h, std::uint32_t face,
                    bool pressed) {
  const std::uint32_t light = Mix(face, 0xFFFFFF, 0.18), dark = Mix(face, 0x000000, 0.45);
  Fill(x, y, w, h, pressed ? Scale(face, 0.75) : face);
  Line(x, y, x + w - 1, y, pressed ? dark : light);
  Line(x, y, x, y + h - 1, pressed ? dark : light);
  Line(x + 1, y + h - 1, x + w - 1, y + h - 1, pressed ? light : dark);
  Line(x + w - 1, y + 1, x + w - 1, y + h - 1, pressed ? light : dark);
}

void Canvas::Text(std::int32_t x, std::int32_t baseline, const std::string& text, std::uint32_t rgb,
                  bool small) {
  mWorld.SetFont(small ? DrawContext::kSmallFont : DrawContext::kNormalFont, FromPixel(rgb));
  mWorld.MoveTo(Point{x + 1, baseline});  // text starts one pixel left of the pen
  mWorld.DrawString(text.c_str());
}

std::int32_t Canvas::TextWidth(const std::string& text, bool small) {
  mWorld.SetFont(small ? DrawContext::kSmallFont : DrawContext::kNormalFont, kBlack);
  return mWorld.GetStringWidth(text.c_str());
}

void Canvas::TextCentred(std::int32_t centreX, std::int32_t baseline, const std::string& text,
                         std::uint32_t rgb, bool small) {
  Text(centreX - TextWidth(text, small) / 2, baseline, text, rgb, small);
}

void Canvas::Arc(double cx, double cy, double radius, double from, double to, std::uint32_t rgb) {
  const int steps = std::max(8, int(std::ceil((to - from) * radius * 2)));
  std::int32_t lastX = 0, lastY = 0;
  for (int i = 0; i <= steps; ++i) {
    const double a = from + (to - from) * i / steps;
    const std::int32_t x = std::int32_t(std::lround(cx + radius * std::cos(a))),
                       y = std::int32_t(std::lround(cy - radius * std::sin(a)));
    if (i == 0 || x != lastX || y != lastY) Pixel(x, y, rgb);
    lastX = x;
    lastY = y;
  }
}

void Canvas::Clip(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
  mWorld.SetClipRect(Rect{x, y, x + w, y + h});
}
void Canvas::Unclip() { mWorld.SetClipRect(mWorld.GetBounds()); }

std::uint32_t Mix(std::uint32_t a, std::uint32_t b, double t) {
  auto channel = [&](int shift) {
    const double ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
    return std::uint32_t(std::lround(ca + (cb - ca) * t)) << shift;
  };
  return channel(16) | channel(8) | channel(0);
}

std::uint32_t Scale(std::uint32_t rgb, double factor) { return Mix(0, rgb, factor); }
