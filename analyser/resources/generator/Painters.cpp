#include "analyser/resources/generator/Painters.h"

#include <algorithm>
#include <cmath>
#include <string>

using namespace bitmaps;

namespace {

constexpr double kPi = 3.14159265358979323846;

// The panel's palette.
constexpr std::uint32_t kGround = colour::kPanel;
constexpr std::uint32_t kBox = 0x20242A;
constexpr std::uint32_t kBoxEdge = 0x333941;
constexpr std::uint32_t kLabel = 0x9AA4B0;
constexpr std::uint32_t kTitle = 0xD5DCE4;
constexpr std::uint32_t kWell = 0x0C0E11;
constexpr std::uint32_t kButtonFace = 0x2E343B;
constexpr std::uint32_t kGlyph = 0xD8DEE4;
constexpr std::uint32_t kGlyphDim = 0x4A525B;
constexpr std::uint32_t kAccent = 0x5FC3FF;
constexpr std::uint32_t kLit = 0x46D37A;

// Each cell of a strip: image k at origin + k * step; the disabled image last (index -1).
template <typename F>
void ForEachCell(const Region& r, F paint) {
  for (std::int32_t k = 0; k < r.count; ++k) paint(r.x + k * r.stepX, r.y + k * r.stepY, k);
  if (r.disabledX >= 0) paint(r.disabledX, r.disabledY, -1);
}

void Triangle(Canvas& c, std::int32_t x, std::int32_t y, std::int32_t size, bool right, std::uint32_t rgb) {
  // size rows high, pointing left or right, tip at the middle row.
  for (std::int32_t i = 0; i < size; ++i) {
    const std::int32_t len = (i <= size / 2 ? i : size - 1 - i) + 1;
    if (right)
      c.Fill(x, y + i, len, 1, rgb);
    else
      c.Fill(x + (size / 2 + 1) - len, y + i, len, 1, rgb);
  }
}

void Stepper(Canvas& c, const Region& r, bool next) {
  ForEachCell(r, [&](std::int32_t x, std::int32_t y, std::int32_t k) {
    const bool pressed = k == 1, disabled = k < 0;
    c.Button(x, y, r.width, r.height, disabled ? 0x24282D : kButtonFace, pressed);
    const std::int32_t shift = pressed ? 1 : 0;
    const std::uint32_t glyph = disabled ? kGlyphDim : pressed ? kAccent : kGlyph;
    Triangle(c, x + (r.width - 3) / 2 + shift, y + 3 + shift, 5, next, glyph);
  });
}

void ImportButton(Canvas& c, const Region& r) {
  ForEachCell(r, [&](std::int32_t x, std::int32_t y, std::int32_t k) {
    const bool pressed = k == 1, disabled = k < 0;
    c.Button(x, y, r.width, r.height, disabled ? 0x24282D : kButtonFace, pressed);
    const std::uint32_t glyph = disabled ? kGlyphDim : pressed ? kAccent : kGlyph;
    const std::int32_t s = pressed ? 1 : 0;
    c.Line(x + 5 + s, y + 2 + s, x + 5 + s, y + 6 + s, glyph);  // arrow down into a tray
    c.Line(x + 3 + s, y + 5 + s, x + 5 + s, y + 7 + s, glyph);
    c.Line(x + 7 + s, y + 5 + s, x + 5 + s, y + 7 + s, glyph);
    c.Line(x + 2 + s, y + 8 + s, x + 8 + s, y + 8 + s, glyph);
  });
}

void Checkbox(Canvas& c, const Region& r) {
  ForEachCell(r, [&](std::int32_t x, std::int32_t y, std::int32_t k) {
    const bool disabled = k < 0, on = k == 1;
    c.Fill(x, y, r.width, r.height, kWell);
    c.Frame(x, y, r.width, r.height, disabled ? 0x2C3137 : 0x59636E);
    if (on) {
      c.Fill(x + 2, y + 2, 6, 6, 0x1E5C38);
      c.Line(x + 2, y + 5, x + 4, y + 7, kLit);
      c.Line(x + 4, y + 7, x + 7, y + 2, kLit);
      c.Line(x + 3, y + 5, x + 4, y + 6, kLit);
    }
    if (disabled) c.Line(x + 2, y + 5, x + 7, y + 5, 0x3A4048);
  });
}

void ScopeSwitch(Canvas& c, const Region& r) {
  ForEachCell(r, [&](std::int32_t x, std::int32_t y, std::int32_t k) {
    const bool on = k == 1;
    c.Fill(x, y, r.width, r.height, kWell);
    c.Frame(x, y, r.width, r.height, on ? 0x2F7A4C : 0x3A4048);
    const std::uint32_t glyph = on ? kLit : 0x58616B;
    c.Arc(x + 5, y + 5.5, 3.2, kPi * 0.65, kPi * 2.35, glyph);  // a power sign
    c.Line(x + 5, y + 2, x + 5, y + 5, glyph);
  });
}

void Severity(Canvas& c, const Region& r, bool round) {
  // MultiStateButton: state v shows image 2v at rest and 2v + 1 while pressed.
  ForEachCell(r, [&](std::int32_t x, std::int32_t y, std::int32_t k) {
    const std::int32_t level = k / 2;
    const bool pressed = k % 2 == 1;
    const std::uint32_t lamp = colour::kSeverity[level];
    c.Fill(x, y, r.width, r.height, kGround);
    if (round) {
      c.World().SetForeColor(FromPixel(pressed ? Scale(lamp, 0.7) : lamp));
      c.World().FillEllipse(Rect{x, y, x + r.width, y + r.height});
      c.World().SetForeColor(FromPixel(Mix(lamp, 0xFFFFFF, pressed ? 0.1 : 0.45)));
      c.World().FillEllipse(Rect{x + 3, y + 2, x + 5, y + 4});
    } else {
      c.Fill(x, y, r.width, r.height, 0x0A0C0E);
      c.Fill(x + 1, y + 1, r.width - 2, r.height - 2, pressed ? Scale(lamp, 0.65) : lamp);
      c.Line(x + 1, y + 1, x + r.width - 2, y + 1, Mix(lamp, 0xFFFFFF, pressed ? 0.0 : 0.35));
      if (level == 0) c.Fill(x + 3, y + 3, r.width - 6, r.height - 6, pressed ? 0x262B31 : 0x2D333A);
    }
  });
}

void TriggerButton(Canvas& c, const Region& r) {
  // Four states: the segment of the state lights, the others stay dim.
  ForEachCell(r, [&](std::int32_t x, std::int32_t y, std::int32_t k) {
    const std::int32_t state = k / 2;
    const bool pressed = k % 2 == 1;
    c.Fill(x, y, r.width, r.height, pressed ? 0x0A0C0E : kWell);
    for (std::int32_t s = 0; s < 4; ++s) {
      const std::uint32_t lamp = colour::kSeverity[s + 1];
      c.Fill(x + 1 + s * 7, y + 2, 5, 4,
             s == state ? (pressed ? Scale(lamp, 0.7) : lamp) : Scale(lamp, 0.28));
    }
  });
}

void ValueCells(Canvas& c, const Region& r) {
  // Cell 0: quiet; cells 1 to 4: the severity's colour at the edge and a tinted ground.
  ForEachCell(r, [&](std::int32_t x, std::int32_t y, std::int32_t k) {
    k = std::max(k, 0);  // no disabled image
    const std::uint32_t tone = colour::kSeverity[k];
    c.Fill(x, y, r.width, r.height, k == 0 ? colour::kReadoutBack : Mix(colour::kReadoutBack, tone, 0.22));
    c.Frame(x, y, r.width, r.height, k == 0 ? 0x2A3037 : tone);
    if (k > 0) c.Fill(x + 1, y + 1, 2, r.height - 2, tone);
  });
}

void GroupCells(Canvas& c, const Region& r) {
  ForEachCell(r, [&](std::int32_t x, std::int32_t y, std::int32_t k) {
    k = std::max(k, 0);  // no disabled image
    const std::uint32_t tone = colour::kSeverity[k];
    c.Fill(x, y, r.width, r.height, k == 0 ? 0x16191D : tone);
    c.Frame(x, y, r.width, r.height, k == 0 ? 0x2A3037 : Scale(tone, 0.7));
    c.TextCentred(x + r.width / 2, y + 8, "ANTI-PHASE", k == 0 ? 0x56606B : 0x101214);
  });
}

void MasterRows(Canvas& c, const Region& r) {
  // Row layout read by the master strip: left cap 0-8, tile 10-30, label 32-120, right cap 122-130;
  // the tile and the label's ground vary only from top to bottom, so they tile seamlessly.
  ForEachCell(r, [&](std::int32_t x, std::int32_t y, std::int32_t s) {
    s = std::max(s, 0);  // no disabled image
    const std::uint32_t tone = s == 0 ? 0x30363D : colour::kSeverity[s];
    const std::uint32_t top = Mix(tone, 0xFFFFFF, 0.18), bottom = Scale(tone, 0.72);
    c.Fill(x, y, r.width, r.height, kGround);
    c.Gradient(x + 1, y, r.width - 2, r.height, top, bottom);
    c.Line(x + 1, y, x + r.width - 2, y, Mix(tone, 0xFFFFFF, 0.4));
    c.Line(x + 1, y + r.height - 1, x + r.width - 2, y + r.height - 1, Scale(tone, 0.45));
    for (std::int32_t edge : {0, r.width - 1})
      c.Line(x + edge, y + 1, x + edge, y + r.height - 2, Scale(tone, 0.45));
    c.TextCentred(x + 76, y + 15, "MASTER ALARM", s == 0 ? 0x8C96A1 : 0x111315, false);
  });
}

void Slider(Canvas& c, const Region& r, std::int32_t min, std::int32_t max, std::int32_t tickEvery) {
  c.Fill(r.x, r.y, r.width, r.height, kGround);
  c.Fill(r.x + 3, r.y + 4, r.width - 6, 3, kWell);
  c.Line(r.x + 3, r.y + 7, r.x + r.width - 4, r.y + 7, 0x2E343B);
  // A tick under the thumb's centre for each marked value (the thumb moves over 55 pixels).
  for (std::int32_t v = min; v <= max; v += tickEvery) {
    const std::int32_t x = r.x + 3 + (v - min) * (r.width - 7) / (max - min);
    c.Pixel(x, r.y + 9, v == min || v == max ? 0x6B7580 : 0x454D56);
    c.Pixel(x, r.y + 10, v == min || v == max ? 0x6B7580 : 0x454D56);
  }
}

void SliderThumb(Canvas& c, const Region& r) {
  c.Button(r.x, r.y, r.width, r.height - 2, 0xB9C2CC, false);
  c.Line(r.x + 3, r.y + 2, r.x + 3, r.y + r.height - 5, 0x5B6570);
  c.Fill(r.x + 1, r.y + r.height - 2, r.width - 2, 1, 0x8E98A3);
  c.Pixel(r.x + 3, r.y + r.height - 1, 0x8E98A3);
}

void FileButton(Canvas& c, const Region& r, bool save) {
  ForEachCell(r, [&](std::int32_t x, std::int32_t y, std::int32_t k) {
    const bool pressed = k == 1;
    c.Button(x, y, r.width, r.height, kButtonFace, pressed);
    const std::int32_t s = pressed ? 1 : 0;
    const std::uint32_t glyph = pressed ? kAccent : kGlyph;
    if (save) {  // a disk
      c.Frame(x + 3 + s, y + 3 + s, 8, 8, glyph);
      c.Fill(x + 5 + s, y + 3 + s, 4, 3, glyph);
      c.Fill(x + 5 + s, y + 8 + s, 4, 2, Scale(glyph, 0.6));
    } else {  // a folder
      c.Fill(x + 2 + s, y + 4 + s, 4, 1, glyph);
      c.Frame(x + 2 + s, y + 5 + s, 10, 6, glyph);
      c.Line(x + 3 + s, y + 7 + s, x + 10 + s, y + 7 + s, Scale(glyph, 0.6));
    }
  });
}

void Emblem(Canvas& c, std::int32_t cx, std::int32_t cy, std::int32_t radius, std::uint32_t grid,
            std::uint32_t trace) {
  for (std::int32_t ring = 1; ring <= 2; ++ring) c.Arc(cx, cy, radius * ring / 2.0, 0, kPi, grid);
  c.Line(cx - radius, cy, cx + radius, cy, grid);
  c.Line(cx, cy, cx, cy - radius, grid);
  // Rays from the rim inward, as the scope draws a mostly correlated signal.
  const int rays = 36;
  for (int i = 1; i < rays; ++i) {
    const double a = i * kPi / rays, spread = (a - kPi / 2) / 0.45;
    const double length =
        radius * 0.73 * (0.12 + 0.88 * std::exp(-spread * spread)) * (0.85 + 0.15 * std::cos(7.0 * i));
    const double cosA = std::cos(a), sinA = std::sin(a);
    c.Line(std::int32_t(std::lround(cx + radius * cosA)), std::int32_t(std::lround(cy - radius * sinA)),
           std::int32_t(std::lround(cx + (radius - length) * cosA)),
           std::int32_t(std::lround(cy - (radius - length) * sinA)), trace);
  }
}

void AboutButton(Canvas& c, const Region& r) {
  c.Fill(r.x, r.y, r.width, r.height, colour::kStripFill);
  Emblem(c, r.x + 13, r.y + 20, 10, 0x2F4654, kAccent);
  c.Text(r.x + 28, r.y + 13, "Stereo Analyzer", kTitle, false);
  c.Text(r.x + 28, r.y + 23, "KVN", kAccent);
  c.Text(r.x + 28 + c.TextWidth("KVN "), r.y + 23, "phase meter", 0x6E7985);
}

void AboutBadge(Canvas& c, const Region& r) {
  c.Fill(r.x, r.y, r.width, r.height, colour::kStripFill);
  c.Frame(r.x + 30, r.y + 2, r.width - 31, r.height - 4, 0x2E343B);
  c.TextCentred(r.x + 30 + (r.width - 31) / 2, r.y + 12, "QUILLMORE", 0x8C96A1);
}

void GuideButton(Canvas& c, const Region& r) {
  ForEachCell(r, [&](std::int32_t x, std::int32_t y, std::int32_t k) {
    const bool pressed = k == 1;
    c.Fill(x, y, r.width, r.height, colour::kStripFill);
    c.World().SetForeColor(FromPixel(pressed ? 0x1E4D6B : kButtonFace));
    c.World().FillEllipse(Rect{x, y, x + r.width, y + r.height});
    c.World().SetForeColor(FromPixel(pressed ? kAccent : 0x59636E));
    c.World().FrameEllipse(Rect{x, y, x + r.width, y + r.height});
    c.TextCentred(x + 7, y + 10, "?", pressed ? 0xFFFFFF : kGlyph);
  });
}

void Box(Canvas& c, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
         const std::string& title) {
  c.Fill(x, y, w, h, kBox);
  c.Frame(x, y, w, h, kBoxEdge);
  c.Line(x + 1, y + 1, x + w - 2, y + 1, 0x282D34);
  if (!title.empty()) c.Text(x + 6, y + 11, title, kTitle);
}

void Well(Canvas& c, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
  c.Fill(x - 1, y - 1, w + 2, h + 2, 0x2A3037);
  c.Fill(x, y, w, h, kWell);
}

void Panel(Canvas& c, const Region& r) {
  c.Fill(r.x, r.y, r.width, r.height, kGround);
  // Balance.
  Box(c, 6, 4, 206, 76, "BALANCE");
  Well(c, 14, 39, 189, 6);
  c.Text(14, 34, "L", kLabel);
  c.Text(203 - c.TextWidth("R"), 34, "R", kLabel);
  c.TextCentred(108, 34, "C", kLabel);
  c.Text(14, 70, "LEVEL", kLabel);
  // Correlation.
  Box(c, 216, 4, 177, 110, "CORRELATION");
  Well(c, 245, 39, 117, 6);
  c.Text(245, 34, "-1", kLabel);
  c.TextCentred(303, 34, "0", kLabel);
  c.Text(362 - c.TextWidth("+1"), 34, "+1", kLabel);
  c.Text(222, 70, "AVG", kLabel);
  c.Text(222, 89, "INST", kLabel);
  c.Text(222, 110, "ALARM", kLabel);
  // Scope controls.
  Box(c, 216, 117, 177, 176, "SCOPE");
  const struct {
    const char* label;
    std::int32_t y;
  } rows[] = {{"TYPE", 148},  {"STYLE", 165}, {"DENSITY", 194},
              {"DECAY", 211}, {"GAIN", 228},  {"COLOUR", 269}};
  for (const auto& row : rows) c.Text(222, row.y + 9, row.label, kLabel);
  c.Text(297, 251, "AUTO", kLabel);
  c.Text(347, 251, "GATE", kLabel);
  c.Text(338, 134, "ON", kLabel);
  c.Line(222, 183, 386, 183, 0x2A3037);
  c.Line(222, 259, 386, 259, 0x2A3037);
  // The scope's frame; the grid itself is its own region.
  c.Frame(kScopeX - 2, kScopeY - 2, kScopeSize + 4, kScopeSize + 4, kBoxEdge);
  c.Frame(kScopeX - 1, kScopeY - 1, kScopeSize + 2, kScopeSize + 2, 0x0A0C0E);
  // Mid and side.
  Box(c, 6, 296, 387, 67, "");
  c.Text(12, 313, "MID / SIDE LEVEL", kTitle);
  c.Text(236, 313, "SIDE TO MID RATIO", kTitle);
  Well(c, 48, 331, 137, 7);
  Well(c, 48, 345, 137, 7);
  Well(c, 236, 331, 137, 3);
  c.Text(12, 338, "MID", kLabel);
  c.Text(12, 352, "SIDE", kLabel);
  c.Line(224, 302, 224, 357, 0x2A3037);
}

void PolarGrid(Canvas& c, const Region& r) {
  c.Fill(r.x, r.y, r.width, r.height, 0x07090B);
  const double cx = kScopeCentreX, cy = kScopeCentreY, radius = kScopeRadius;
  // Circles and rays over the allowed half; the sector from 5pi/4 to 7pi/4 stays empty.
  const double from = -kPi / 4, to = 5 * kPi / 4;
  for (int ring = 1; ring <= 4; ++ring)
    c.Arc(cx, cy, radius * ring / 4.0, from, to, ring == 4 ? 0x3C5A6E : 0x1E2E3A);
  for (int ray = -1; ray <= 5; ++ray) {
    const double a = ray * kPi / 4;
    const bool edge = ray == -1 || ray == 5;
    c.Line(std::int32_t(cx), std::int32_t(cy), std::int32_t(std::lround(cx + radius * std::cos(a))),
           std::int32_t(std::lround(cy - radius * std::sin(a))), edge ? 0x4A2A2E : 0x1E2E3A);
  }
  c.TextCentred(std::int32_t(cx), std::int32_t(cy - radius) - 2, "M", 0x6F8797);
  c.Text(std::int32_t(cx - radius) + 3, std::int32_t(cy) - 3, "L", 0x6F8797);
  c.Text(std::int32_t(cx + radius) - 3 - c.TextWidth("R"), std::int32_t(cy) - 3, "R", 0x6F8797);
}

void Header(Canvas& c, const Region& r) {
  c.Gradient(r.x, r.y, r.width, r.height, 0x2A3038, 0x1B1E23);
  c.Line(r.x, r.y + r.height - 1, r.x + r.width - 1, r.y + r.height - 1, 0x0A0C0E);
  c.Text(r.x + 9, r.y + 16, "KVN", kAccent, false);
  c.Text(r.x + 9 + c.TextWidth("KVN ", false), r.y + 16, "Stereo Analyzer", kTitle, false);
  c.Text(r.x + 150, r.y + 15, "PHASE  \x95  CORRELATION  \x95  BALANCE", 0x6E7985);
}

// Hues across, lighter at the top.
void Palette(Canvas& c, const Region& r) {
  for (std::int32_t x = 0; x < r.width; ++x)
    for (std::int32_t y = 0; y < r.height; ++y) {
      std::uint32_t rgb;
      if (x >= r.width - 8) {
        rgb = Mix(0xFFFFFF, 0x404040, (x - (r.width - 8)) / 7.0);
      } else {
        const double h = 6.0 * x / (r.width - 8);
        const int sector = int(h) % 6;
        const double f = h - std::floor(h);
        const double parts[6][3] = {{1, f, 0},     {1 - f, 1, 0}, {0, 1, f},
                                    {0, 1 - f, 1}, {f, 0, 1},     {1, 0, 1 - f}};
        const double* p = parts[sector];
        const double light = 0.45 * (1.0 - y / double(r.height - 1));
        auto channel = [&](double v) { return std::uint32_t(std::lround(255 * (v + (1 - v) * light))); };
        rgb = channel(p[0]) << 16 | channel(p[1]) << 8 | channel(p[2]);
      }
      c.Pixel(r.x + x, r.y + y, rgb);
    }
}

// Red for anti-phase through amber and yellow to green for in phase; every row darker than the
// one above.
void CorrelationScale(Canvas& c, const Region& r) {
  const double stops[5][3] = {{255, 48, 48}, {255, 128, 32}, {240, 204, 48}, {150, 222, 64}, {48, 224, 104}};
  for (std::int32_t i = 0; i < r.width; ++i) {
    const double t = 4.0 * i / (r.width - 1);
    const int s = std::min(3, int(t));
    const double f = t - s;
    for (std::int32_t j = 0; j < r.height; ++j) {
      const double level = 0.05 + 0.95 * std::pow((r.height - 1 - j) / double(r.height - 1), 1.6);
      std::uint32_t rgb = 0;
      for (int k = 0; k < 3; ++k)
        rgb = rgb << 8 |
              std::uint32_t(std::lround((stops[s][k] + (stops[s + 1][k] - stops[s][k]) * f) * level));
      c.Pixel(r.x + i, r.y + j, rgb);
    }
  }
}

void Track(Canvas& c, const Region& r) {
  c.Fill(r.x, r.y, r.width, r.height, kWell);
  const std::int32_t centre = r.x + r.width / 2;
  c.Line(centre, r.y, centre, r.y + r.height - 1, 0x3A414A);
  for (std::int32_t q : {1, 3})
    c.Line(r.x + r.width * q / 4, r.y + 2, r.x + r.width * q / 4, r.y + 3, 0x262B31);
}

void AboutPicture(Canvas& c, const Region& r) {
  c.Gradient(r.x, r.y, r.width, r.height, 0x23282F, 0x121417);
  c.Frame(r.x, r.y, r.width, r.height, 0x3A414A);
  Emblem(c, r.width / 2, 118, 70, 0x2A3F4D, kAccent);
  c.TextCentred(r.width / 2, 150, "KVN Stereo Analyzer", kTitle, false);
  c.TextCentred(r.width / 2, 166, "phase scope  \x95  correlation  \x95  balance", kLabel);
}

void ErrorPanel(Canvas& c, const Region& r, bool alert) {
  const std::uint32_t band = alert ? 0xB8322A : 0x2F6FB5;
  c.Fill(r.x, r.y, r.width, r.height, 0xD9DEE4);
  c.Frame(r.x, r.y, r.width, r.height, 0x59636E);
  c.Gradient(r.x + 1, r.y + 1, r.width - 2, 16, Mix(band, 0xFFFFFF, 0.15), band);
  c.World().SetForeColor(FromPixel(0xFFFFFF));
  c.World().FillEllipse(Rect{6, 3, 19, 16});
  c.TextCentred(13, 14, alert ? "!" : "i", band, false);
}

}  // namespace

namespace {
void PaintLook(Canvas& c, const Region& r);
}  // namespace

void PaintGround(Canvas& canvas, const BitmapEntry& bitmap) {
  canvas.Fill(0, 0, bitmap.width, bitmap.height,
              bitmap.id == kErrorInfo || bitmap.id == kErrorAlert ? 0xD9DEE4 : kGround);
}

void PaintRegion(Canvas& c, const Region& r) {
  // Nothing a region draws reaches outside its cells.
  std::int32_t right = r.x + r.width + (r.count - 1) * r.stepX,
               bottom = r.y + r.height + (r.count - 1) * r.stepY;
  std::int32_t left = r.x, top = r.y;
  if (r.disabledX >= 0) {
    left = std::min(left, r.disabledX);
    top = std::min(top, r.disabledY);
    right = std::max(right, r.disabledX + r.width);
    bottom = std::max(bottom, r.disabledY + r.height);
  }
  c.Clip(left, top, right - left, bottom - top);
  PaintLook(c, r);
  c.Unclip();
}

namespace {

void PaintLook(Canvas& c, const Region& r) {
  switch (r.kind) {
    case Kind::kColour:
      for (std::int32_t k = 0; k < r.count; ++k) c.Pixel(r.x + k * r.stepX, r.y + k * r.stepY, r.colours[k]);
      return;
    case Kind::kTextBackground:
      c.Fill(r.x, r.y, r.width, r.height, r.colours[0]);
      return;
    default:
      break;
  }
  switch (r.look) {
    case Look::kPanel:
      return Panel(c, r);
    case Look::kPolarGrid:
      return PolarGrid(c, r);
    case Look::kHeader:
      return Header(c, r);
    case Look::kSparePalette:
      return Palette(c, r);
    case Look::kStepPrevious:
      return Stepper(c, r, false);
    case Look::kStepNext:
      return Stepper(c, r, true);
    case Look::kImportButton:
      return ImportButton(c, r);
    case Look::kCheckbox:
      return Checkbox(c, r);
    case Look::kScopeSwitch:
      return ScopeSwitch(c, r);
    case Look::kSeverity:
      return Severity(c, r, false);
    case Look::kSeverityLarge:
      return Severity(c, r, true);
    case Look::kTriggerButton:
      return TriggerButton(c, r);
    case Look::kValueCells:
      return ValueCells(c, r);
    case Look::kGroupCells:
      return GroupCells(c, r);
    case Look::kMasterRows:
      return MasterRows(c, r);
    case Look::kSliderDensity:
      return Slider(c, r, 1, 10, 1);
    case Look::kSliderDecay:
      return Slider(c, r, 1, 10, 1);
    case Look::kSliderGain:
      return Slider(c, r, 0, 25, 5);
    case Look::kSliderThumb:
      return SliderThumb(c, r);
    case Look::kLoadButton:
      return FileButton(c, r, false);
    case Look::kSaveButton:
      return FileButton(c, r, true);
    case Look::kAboutButton:
      return AboutButton(c, r);
    case Look::kAboutBadge:
      return AboutBadge(c, r);
    case Look::kGuideButton:
      return GuideButton(c, r);
    case Look::kBalanceTrack:
    case Look::kCorrelationTrack:
      return Track(c, r);
    case Look::kScale:
      return CorrelationScale(c, r);
    case Look::kAboutPicture:
      return AboutPicture(c, r);
    case Look::kErrorInfo:
      return ErrorPanel(c, r, false);
    case Look::kErrorAlert:
      return ErrorPanel(c, r, true);
    case Look::kNone:
      return;
  }
}

}  // namespace
