// gen_ui.cpp -- every picture with lettering: title, logos, menu buttons,
// help strips, option values, the ship-select board, tutorial dialogue, the
// game-over screen, score digits and the credit roll.
//
// Several screens stack two help strips so that they overlap by half their
// height, and a few pictures are partly off screen (the select board, the
// unlock board, the game-over score board); the notes at each picture say
// which part the player actually sees.
#include <string>
#include <vector>

#include "assets.h"
#include "dmath.h"
#include "rng.h"
#include "style.h"

namespace {

using dm::Sat;
using dm::Smooth;

// ----- shared pieces ----------------------------------------------------------

Lettering Headline(double size, FontId font = FontId::SansBold) {
  Lettering l;
  l.style = {font, size, 0.06, 1.0};
  l.fillTop = pal::kWhite;
  l.fillBottom = Hex(0xa9dcff);
  l.outlineWidth = size * 0.05;
  l.glowRadius = size * 0.18;
  l.glowStrength = 0.7;
  return l;
}

Lettering Accent(double size) {
  Lettering l = Headline(size);
  l.fillTop = Hex(0xffe2a8);
  l.fillBottom = pal::kAmber;
  l.glow = pal::kAmber;
  l.glowStrength = 0.45;
  return l;
}

// Scales a rich-text look down until every line fits maxWidth.
RichLook FitRich(RichLook look, const std::string& markup, double maxWidth) {
  size_t start = 0;
  double widest = 0;
  while (true) {
    size_t nl = markup.find('\n', start);
    std::string line = markup.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
    widest = dm::Max(widest, RichWidth(look, line));
    if (nl == std::string::npos) break;
    start = nl + 1;
  }
  if (widest > maxWidth) look.style.size *= maxWidth / widest;
  return look;
}

// A menu button: translucent glass so the highlight bar behind the selected
// one glows through it. The glass spans the fractions from..to of the
// picture's width. The selected button is drawn a little wider than the gap
// to the window's right edge allows, so every button keeps clear of its
// picture's last twentieth.
void PaintButton(Image& img, const std::string& label, double from = 0.05, double to = 0.95) {
  double asp = img.aspect;
  double u0 = asp * from, u1 = asp * to;
  PanelLook look;
  look.opacity = 0.55;
  look.cut = 0.22;
  DrawPanel(img, u0, 0.1, u1, 0.9, look);
  Lettering l = Headline(0.44);
  l.style.tracking = 0.16;
  l.style = FitWidth(l.style, label, u1 - u0 - 0.46);
  DrawLettering(img, l, label, 0.5 * (u0 + u1), 0.5 - CapHeight(l.style) * 0.5, 0);
}

// One line of key help on a soft dark backing, inside the band v0..v1 and
// starting at u0 (the part of the strip left of u0 may be off screen).
void PaintHelpLine(Image& img, const std::string& markup, double u0, double v0, double v1) {
  RichLook look;
  double band = v1 - v0;
  look.style.size = band * 0.52;
  look.style.font = FontId::SansBold;
  double maxW = img.aspect - u0 - 0.3;
  look = FitRich(look, markup, maxW);
  double wdt = RichWidth(look, markup);
  double cv = 0.5 * (v0 + v1);
  double hh = band * 0.42;
  double left = u0 + 0.08, right = left + wdt + band * 0.9;
  Mask back = ShapeMask(img, [=](double u, double v) {
    return sdf::Box(u, v, 0.5 * (left + right), cv, 0.5 * (right - left), hh, hh * 0.9);
  });
  img.Fill(BlurMask(back, img, band * 0.08), pal::kInk, 0.62);
  Mask edge = ShapeMask(img, [=](double u, double v) {
    return dm::Max(sdf::Box(u, v, left + band * 0.06, cv, band * 0.03, hh * 0.75, band * 0.03), 0.0);
  });
  img.Fill(edge, pal::kCyan);
  DrawRich(img, look, markup, left + band * 0.45, cv, -1);
}

// The co-pilot's badge on the tutorial panels: a visor in a ring.
void CopilotBadge(Image& img, double cu, double cv, double r) {
  Mask disc = ShapeMask(img, [=](double u, double v) { return sdf::Circle(u, v, cu, cv, r); });
  img.Fill(disc, RadialGradient(cu, cv + r * 0.3, r * 1.3, Hex(0x1c2c64), Hex(0x070c22)));
  Mask ring = ShapeMask(img, [=](double u, double v) { return sdf::Ring(u, v, cu, cv, r * 0.92, r * 0.05); });
  img.AddLight(BlurMask(ring, img, r * 0.12), pal::kCyan, 0.8);
  img.Fill(ring, Hex(0xaaf3ff));
  Mask visor = ShapeMask(img, [=](double u, double v) { return sdf::Box(u, v, cu, cv + r * 0.05, r * 0.52, r * 0.13, r * 0.13); });
  img.AddLight(BlurMask(visor, img, r * 0.15), pal::kCyan, 1.0);
  img.Fill(visor, Hex(0xd8fbff));
  Mask mouth = ShapeMask(img, [=](double u, double v) {
    double d = 1e9;
    for (int i = -2; i <= 2; ++i) d = dm::Min(d, sdf::Box(u, v, cu + i * r * 0.16, cv - r * 0.38, r * 0.045, r * (0.05 + 0.03 * (2 - dm::Abs(i))), r * 0.02));
    return d;
  });
  img.Fill(mouth, pal::kCyan, 0.8);
}

// Tutorial dialogue, shown at 800 x 200 pixels whatever the window size,
// above the ship where the next marker and the moon it points at appear:
// the glass is thin enough for them to show through, and the lettering
// reads by its own shadow.
void PaintTalk(Image& img, int number, const std::string& title, const std::string& body, const std::string& hint) {
  double asp = img.aspect;  // 4
  PanelLook glass;
  glass.opacity = 0.5;
  DrawPanel(img, 0.04, 0.06, asp - 0.04, 0.94, glass);
  CopilotBadge(img, 0.5, 0.5, 0.3);
  Lettering t = Accent(0.17);
  t.style.tracking = 0.08;
  DrawLettering(img, t, title, 0.98, 0.69, -1);
  Lettering step = Headline(0.075);
  step.style.font = FontId::Sans;
  step.glowRadius = 0;
  step.fillTop = step.fillBottom = Hex(0x8fbfe0);
  DrawLettering(img, step, "TUTORIAL " + std::to_string(number) + "/11", asp - 0.22, 0.75, 1);
  RichLook look;
  look.style = {FontId::SansBold, 0.105, 0.0, 1.0};
  look.lineGap = 1.5;
  look = FitRich(look, body, asp - 1.25);
  double bodyCentre = hint.empty() ? 0.36 : 0.41;
  DrawRich(img, look, body, 0.98, bodyCentre, -1);
  if (!hint.empty()) {
    RichLook h;
    h.style = {FontId::SansBold, 0.08, 0.0, 1.0};
    h.text = Hex(0xbcd7ee);
    DrawRich(img, h, hint, asp - 0.22, 0.17, 1);
  }
}

void PaintPauseItem(Image& img, const std::string& label, double textHeight) {
  Lettering l = Headline(textHeight / 0.729);
  l.style.tracking = 0.14;
  l.style = FitWidth(l.style, label, img.aspect * 0.85);
  // The picture is transparent outside the middle band: the three items
  // overlap on screen and must not hide each other's lettering.
  DrawLettering(img, l, label, img.aspect * 0.5, 0.5 - CapHeight(l.style) * 0.5, 0);
}

void PaintOptionLabel(Image& img, const std::string& label) {
  Lettering l = Headline(0.46);
  l.style.tracking = 0.1;
  l.style = FitWidth(l.style, label, img.aspect - 0.5);
  double base = 0.5 - CapHeight(l.style) * 0.5;
  Mask bullet = ShapeMask(img, [](double u, double v) {
    std::vector<double> p = {0.08, 0.62, 0.2, 0.5, 0.08, 0.38};
    return sdf::Polygon(u, v, p);
  });
  img.AddLight(BlurMask(bullet, img, 0.03), pal::kAmber, 0.8);
  img.Fill(bullet, pal::kAmber);
  DrawLettering(img, l, label, 0.3, base, -1);
  Mask line = ShapeMask(img, [&](double u, double v) { return sdf::Box(u, v, img.aspect * 0.5 + 0.15, 0.12, img.aspect * 0.5 - 0.15, 0.008); });
  img.Fill(line, HGradient(WithAlpha(pal::kCyan, 0.9), WithAlpha(pal::kCyan, 0.0), 0.3, img.aspect));
}

void PaintOptionValue(Image& img, const std::string& big, const std::string& small, const Rgba& rim) {
  double asp = img.aspect;
  PanelLook look;
  look.rim = rim;
  look.opacity = 0.8;
  DrawPanel(img, 0.08, 0.1, asp - 0.08, 0.9, look);
  Lettering l = Headline(0.42);
  l.glow = rim;
  l.style.tracking = 0.1;
  double bigW = TextWidth(l.style, big);
  TextStyle smallStyle{FontId::SansBold, 0.24, 0.02, 1.0};
  double smallW = small.empty() ? 0 : TextWidth(smallStyle, small) + 0.18;
  double start = asp * 0.5 - (bigW + smallW) * 0.5;
  DrawLettering(img, l, big, start, 0.5 - CapHeight(l.style) * 0.5, -1);
  if (!small.empty()) {
    Lettering s = Headline(0.24);
    s.style = smallStyle;
    s.fillTop = s.fillBottom = Hex(0xbcd7ee);
    s.glowRadius = 0;
    DrawLettering(img, s, small, start + bigW + 0.18, 0.5 - CapHeight(l.style) * 0.5, -1);
  }
  // Small arrows at both ends: the value changes sideways.
  Mask arrows = ShapeMask(img, [=](double u, double v) {
    std::vector<double> a = {0.3, 0.5, 0.42, 0.62, 0.42, 0.38};
    std::vector<double> b = {asp - 0.3, 0.5, asp - 0.42, 0.38, asp - 0.42, 0.62};
    return dm::Min(sdf::Polygon(u, v, a), sdf::Polygon(u, v, b));
  });
  img.Fill(arrows, rim, 0.9);
}

// ----- title, logos, credits ------------------------------------------------

void PaintTitle(Image& img) {
  double asp = img.aspect;  // 2
  // The planet ring swoosh behind the name.
  Mask swoosh = FieldMask(img, [](double u, double v) {
    double x = (u - 1.0) / 0.93, y = (v - 0.47 - (u - 1.0) * 0.09) / 0.15;
    double r = dm::Len(x, y);
    double band = Smooth(0.035, 0.0, dm::Abs(r - 1.0) * 0.15);
    double fade = Smooth(1.0, 0.2, dm::Abs(x));
    return band * fade * (y < 0 ? 1.0 : 0.35);
  });
  img.AddLightPaint(BlurMask(swoosh, img, 0.02), HGradient(pal::kMagenta, pal::kAmber, 0.1, 1.9), 0.9);
  img.AddLight(swoosh, Hex(0xfff0e0), 0.8);

  Lettering l = Headline(0.5);
  l.style.tracking = 0.09;
  l.style = FitWidth(l.style, "KELVARO", asp - 0.2);
  double cap = CapHeight(l.style);
  double base = 0.52 - cap * 0.5;
  l.outlineWidth = 0.014;
  l.outline = Hex(0x050a20);
  l.glowRadius = 0.05;
  l.glowStrength = 0.9;
  Mask letters = TextMask(img, l.style, "KELVARO", asp * 0.5, base, 0);
  Mask outline = GrowMask(letters, img, l.outlineWidth);
  img.AddLight(BlurMask(outline, img, 0.06), pal::kCyan, 0.8);
  img.AddLight(BlurMask(outline, img, 0.015), Hex(0x8fb8ff), 0.5);
  img.Fill(outline, l.outline);
  // Chrome: bright sky above a horizon line, deep blue below it.
  img.Fill(letters, [=](double, double v) {
    double t = (v - base) / cap;
    if (t > 0.48) return MixRgba(Hex(0x9fd4ff), Hex(0xffffff), Smooth(0.48, 1.0, t));
    return MixRgba(Hex(0x2a5cc8), Hex(0x7ae9ff), Smooth(0.0, 0.48, t));
  });
  Mask horizon = MinMask(letters, FieldMask(img, [=](double, double v) {
    return Smooth(0.012, 0.0, dm::Abs((v - base) / cap - 0.48)) * 0.8;
  }));
  img.Fill(horizon, pal::kWhite);

  Lettering sub = Accent(0.075);
  sub.style.tracking = 0.45;
  sub.glowRadius = 0.02;
  DrawLettering(img, sub, "OUTRUN THE BLACK HOLE", asp * 0.5, 0.2, 0);
  Sparkle(img, 77, 40, 0.006, Hex(0xd9f3ff));
  // Two bright glints on the letters.
  Mask glint = FieldMask(img, [](double u, double v) {
    auto star = [](double du, double dv, double s) {
      return dm::Exp(-(du * du + dv * dv) / (s * s)) + dm::Exp(-dv * dv / 0.00002) * Smooth(s * 8, 0, dm::Abs(du)) * 0.7 +
             dm::Exp(-du * du / 0.00002) * Smooth(s * 5, 0, dm::Abs(dv)) * 0.7;
    };
    return star(u - 0.36, v - 0.66, 0.01) + star(u - 1.62, v - 0.43, 0.008);
  });
  img.AddLight(glint, pal::kWhite, 1.0);
}

// The first splash: the engine's own mark.
void PaintEngineMark(Image& img) {
  double asp = img.aspect;  // 4
  double cu = 0.55, cv = 0.5, r = 0.34;
  Mask hex = ShapeMask(img, [=](double u, double v) {
    std::vector<double> p;
    for (int i = 0; i < 6; ++i) {
      double a = dm::kPi / 6 + i * dm::kPi / 3;
      p.push_back(cu + dm::Cos(a) * r);
      p.push_back(cv + dm::Sin(a) * r);
    }
    return dm::Abs(sdf::Polygon(u, v, p) + 0.015) - 0.015;
  });
  Mask vee = ShapeMask(img, [=](double u, double v) {
    double a = sdf::Segment(u, v, cu - 0.16, cv + 0.15, cu, cv - 0.17, 0.035);
    double b = sdf::Segment(u, v, cu + 0.16, cv + 0.15, cu, cv - 0.17, 0.035);
    double c = sdf::Segment(u, v, cu - 0.07, cv + 0.15, cu, cv + 0.0, 0.02);
    return dm::Min(dm::Min(a, b), c);
  });
  img.AddLight(BlurMask(MaxMask(hex, vee), img, 0.04), pal::kCyan, 0.9);
  img.Fill(hex, Hex(0xe8f6ff));
  img.Fill(vee, pal::kWhite);
  Lettering l = Headline(0.5);
  l.style.tracking = 0.3;
  l.glowRadius = 0.04;
  l.glowStrength = 0.4;
  l.fillBottom = Hex(0xdbe8ff);
  l.style = FitWidth(l.style, "VANTOR", asp - 1.4);
  DrawLettering(img, l, "VANTOR", 1.1, 0.44, -1);
  double wdt = TextWidth(l.style, "VANTOR");
  Lettering s = Headline(0.13);
  s.style.tracking = 0.9;
  s.style.font = FontId::Sans;
  s.fillTop = s.fillBottom = pal::kCyan;
  s.glowRadius = 0.01;
  DrawLettering(img, s, "ENGINE", 1.12, 0.2, -1);
  Mask line = ShapeMask(img, [=](double u, double v) { return sdf::Box(u, v, 1.1 + (wdt + 0.5) * 0.5 + 0.72, 0.25, (wdt - 0.9) * 0.5, 0.006); });
  img.Fill(line, HGradient(WithAlpha(pal::kCyan, 0.9), WithAlpha(pal::kCyan, 0.0), 1.9, 1.1 + wdt));
}

// The second splash: the team's badge.
void PaintTeamBadge(Image& img) {
  double cu = 0.5, cv = 0.6, r = 0.3;
  Mask disc = ShapeMask(img, [=](double u, double v) { return sdf::Circle(u, v, cu, cv, r); });
  img.Fill(disc, RadialGradient(cu - 0.08, cv + 0.1, r * 1.2, Hex(0x1d2f6e), Hex(0x060a1e)), 0.9);
  // A small planet and a comet crossing its orbit.
  Mask planet = ShapeMask(img, [=](double u, double v) { return sdf::Circle(u, v, cu - 0.06, cv - 0.05, 0.1); });
  img.Fill(planet, RadialGradient(cu - 0.1, cv - 0.01, 0.14, Hex(0xffd08a), Hex(0xb8481a)));
  Mask orbit = FieldMask(img, [=](double u, double v) {
    double x = (u - cu) / 0.22, y = (v - cv + 0.04 - (u - cu) * 0.35) / 0.07;
    double d = dm::Abs(dm::Len(x, y) - 1.0);
    return Smooth(0.09, 0.0, d) * (dm::Sqrt(x * x + y * y) > 0 ? 1.0 : 0.0);
  });
  Mask clip = ShapeMask(img, [=](double u, double v) { return sdf::Circle(u, v, cu, cv, r - 0.01); });
  img.AddLight(MinMask(orbit, clip), pal::kAmber, 0.9);
  Mask tail = FieldMask(img, [=](double u, double v) {
    double ax = cu + 0.14, ay = cv + 0.12;
    double du = u - ax, dv = v - ay;
    double along = -(du * 0.8 + dv * 0.6);
    double across = -du * 0.6 + dv * 0.8;
    if (along < 0) return dm::Exp(-(du * du + dv * dv) / 0.0004);
    return dm::Exp(-across * across / (0.0002 + along * along * 0.02)) * Smooth(0.25, 0.0, along);
  });
  img.AddLight(MinMask(tail, clip), Hex(0xcff6ff), 1.0);
  Mask ring = ShapeMask(img, [=](double u, double v) { return sdf::Ring(u, v, cu, cv, r, 0.012); });
  Mask ring2 = ShapeMask(img, [=](double u, double v) { return sdf::Ring(u, v, cu, cv, r + 0.035, 0.004); });
  img.AddLight(BlurMask(ring, img, 0.03), pal::kCyan, 0.8);
  img.Fill(ring, Hex(0xd8f8ff));
  img.Fill(ring2, pal::kCyan, 0.7);
  Lettering l = Headline(0.13);
  l.style.tracking = 0.22;
  l.style = FitWidth(l.style, "KELVARO", 0.9);
  DrawLettering(img, l, "KELVARO", 0.5, 0.15, 0);
  Lettering s = Accent(0.055);
  s.style.tracking = 0.8;
  s.glowRadius = 0;
  DrawLettering(img, s, "TEAM", 0.51, 0.07, 0);
}

// Shown after the team badge: credits the sound library we play through.
void PaintSoundCredit(Image& img) {
  double asp = img.aspect;  // 2
  // Equaliser bars either side, drawn from a fixed sequence.
  Mask bars = img.NewMask();
  const double heights[] = {0.12, 0.22, 0.34, 0.27, 0.42, 0.3, 0.18, 0.26, 0.14};
  for (int side = 0; side < 2; ++side) {
    for (int i = 0; i < 9; ++i) {
      double cu = side == 0 ? 0.07 + i * 0.033 : asp - 0.07 - i * 0.033;
      double hh = heights[i] * 0.5;
      Mask b = ShapeMask(img, [=](double u, double v) { return sdf::Box(u, v, cu, 0.47, 0.011, hh * 0.8, 0.01); });
      bars = MaxMask(bars, b);
    }
  }
  img.AddLight(BlurMask(bars, img, 0.02), pal::kTeal, 0.6);
  img.Fill(bars, VGradient(pal::kTeal, pal::kCyan, 0.3, 0.7));
  Lettering cap = Headline(0.085);
  cap.style.font = FontId::Sans;
  cap.style.tracking = 0.5;
  cap.glowRadius = 0;
  cap.fillTop = cap.fillBottom = Hex(0xbcd7ee);
  DrawLettering(img, cap, "SOUND PLAYED WITH", asp * 0.5, 0.74, 0);
  Lettering l = Headline(0.3);
  l.style.tracking = 0.02;
  l.style = FitWidth(l.style, "SDL2_mixer", 1.25);
  DrawLettering(img, l, "SDL2_mixer", asp * 0.5, 0.4, 0);
  Lettering s = Accent(0.06);
  s.style.font = FontId::Sans;
  s.style.tracking = 0.15;
  s.glowRadius = 0;
  DrawLettering(img, s, "music and effects from our own synthesiser", asp * 0.5, 0.2, 0);
}

// The roll is drawn stretched to 4/5 of the window's width and its full
// height and rises through the screen, so it reads from top to bottom.
void PaintCredits(Image& img) {
  double asp = img.aspect;
  struct Line {
    int kind;  // 0 title, 1 heading, 2 name, 3 small, 4 gap
    const char* text;
  };
  const Line lines[] = {
      {0, "KELVARO"},
      {3, "a space flight game"},
      {4, ""},
      {1, "MADE BY"},
      {2, "The Kelvaro Team"},
      {3, "design, code, pictures and sound"},
      {4, ""},
      {1, "ENGINE"},
      {2, "Vantor, our own small engine"},
      {4, ""},
      {1, "BUILT WITH"},
      {2, "SDL2  \xc2\xb7  SDL2_mixer"},
      {2, "OpenGL (Mesa)  \xc2\xb7  GLU  \xc2\xb7  GLEW"},
      {2, "GoogleTest"},
      {2, "stb_truetype  \xc2\xb7  LAME"},
      {2, "DejaVu fonts"},
      {4, ""},
      {3, "Every picture and sound in the game"},
      {3, "was made by our own generator."},
      {4, ""},
      {1, "THANK YOU FOR PLAYING"},
  };
  // Advance (space above the baseline) and size of each kind, then one
  // scale so the whole roll fills the picture from top to bottom.
  const double advance[5] = {0.13, 0.07, 0.062, 0.05, 0.035};
  const double size[5] = {0.11, 0.042, 0.05, 0.036, 0};
  double total = 0;
  for (const Line& ln : lines) total += advance[ln.kind];
  double k = 0.9 / total;
  double y = 0.985;
  for (const Line& ln : lines) {
    y -= advance[ln.kind] * k;
    double sz = size[ln.kind] * dm::Min(k, 1.15);
    switch (ln.kind) {
      case 0: {
        Lettering l = Headline(sz);
        l.style.tracking = 0.2;
        DrawLettering(img, l, ln.text, asp * 0.5, y, 0);
        break;
      }
      case 1: {
        Lettering l = Accent(sz);
        l.style.tracking = 0.35;
        l.glowRadius = 0.01;
        DrawLettering(img, l, ln.text, asp * 0.5, y, 0);
        break;
      }
      case 2: {
        Lettering l = Headline(sz);
        l.style.tracking = 0.02;
        l.glowRadius = 0;
        DrawLettering(img, l, ln.text, asp * 0.5, y, 0);
        break;
      }
      case 3: {
        Lettering l = Headline(sz);
        l.style.font = FontId::Sans;
        l.glowRadius = 0;
        l.fillTop = l.fillBottom = Hex(0xbcd7ee);
        DrawLettering(img, l, ln.text, asp * 0.5, y, 0);
        break;
      }
      default: {
        // A small diamond between sections.
        double cv = y + 0.004 * k;
        Mask d = ShapeMask(img, [=](double u, double v) { return (dm::Abs(u - asp * 0.5) + dm::Abs(v - cv)) * 0.7071 - 0.006; });
        img.Fill(d, pal::kAmber, 0.8);
        break;
      }
    }
  }
  // A thin line either side of the column, fading at both ends.
  Mask rails = FieldMask(img, [=](double u, double v) {
    double fade = Smooth(0.0, 0.1, v) * Smooth(1.0, 0.9, v);
    return (Smooth(0.004, 0.0, dm::Abs(u - asp * 0.1)) + Smooth(0.004, 0.0, dm::Abs(u - asp * 0.9))) * fade * 0.6;
  });
  img.AddLight(rails, pal::kCyan, 0.8);
}

// ----- front-end screens ----------------------------------------------------

// The highlight shares the selected button's rectangle, which reaches a
// little past the window's right edge: it keeps the button's margins. On
// the quit row the same picture is drawn narrower, over the quit button's
// shorter glass.
void PaintSelectBar(Image& img) {
  double asp = img.aspect;
  double m = asp * 0.05;
  Mask body = ShapeMask(img, [=](double u, double v) { return ChamferBox(u, v, asp * 0.5, 0.5, asp * 0.5 - m, 0.46, 0.2); });
  img.Fill(body, VGradient(WithAlpha(pal::kAmber, 0.45), WithAlpha(Hex(0xffd89a), 0.22), 0.0, 1.0));
  Mask brackets = ShapeMask(img, [=](double u, double v) {
    double d = 1e9;
    double l = m + 0.03, r = asp - m - 0.03, b = 0.08, t = 0.92, w = 0.025, len = 0.45;
    d = dm::Min(d, sdf::Box(u, v, l + len * 0.5, t, len * 0.5, w));
    d = dm::Min(d, sdf::Box(u, v, l, t - 0.15, w, 0.15));
    d = dm::Min(d, sdf::Box(u, v, r - len * 0.5, b, len * 0.5, w));
    d = dm::Min(d, sdf::Box(u, v, r, b + 0.15, w, 0.15));
    d = dm::Min(d, sdf::Box(u, v, r - len * 0.5, t, len * 0.5, w));
    d = dm::Min(d, sdf::Box(u, v, r, t - 0.15, w, 0.15));
    d = dm::Min(d, sdf::Box(u, v, l + len * 0.5, b, len * 0.5, w));
    d = dm::Min(d, sdf::Box(u, v, l, b + 0.15, w, 0.15));
    return d;
  });
  img.AddLight(BlurMask(brackets, img, 0.04), pal::kAmber, 1.0);
  img.Fill(brackets, Hex(0xfff0d0));
}

void PaintLoading(Image& img) {
  double asp = img.aspect;
  PanelLook look;
  look.opacity = 0.85;
  DrawPanel(img, 0.06, 0.1, asp - 0.06, 0.9, look);
  Mask spinner = FieldMask(img, [](double u, double v) {
    double du = u - 0.5, dv = v - 0.5;
    double r = dm::Len(du, dv);
    double a = dm::Atan2(dv, du);
    double arc = dm::Fract(a / dm::kTwoPi + 1.0);
    return Smooth(0.03, 0.015, dm::Abs(r - 0.2)) * (0.15 + 0.85 * arc);
  });
  img.AddLight(spinner, pal::kCyan, 1.0);
  Lettering l = Headline(0.36);
  l.style.tracking = 0.25;
  DrawLettering(img, l, "LOADING", 0.95, 0.5 - CapHeight(l.style) * 0.5, -1);
  double wdt = TextWidth(l.style, "LOADING");
  for (int i = 0; i < 3; ++i) {
    double cu = 0.95 + wdt + 0.14 + i * 0.13;
    Mask dot = ShapeMask(img, [=](double u, double v) { return sdf::Circle(u, v, cu, 0.38, 0.035); });
    img.Fill(dot, WithAlpha(pal::kAmber, 0.4 + 0.3 * i));
  }
}

void PaintArrow(Image& img, bool right) {
  double asp = img.aspect;  // about 0.65
  std::vector<double> p = {0.12, 0.5, 0.48, 0.9, 0.6, 0.8, 0.33, 0.5, 0.6, 0.2, 0.48, 0.1};
  if (right)
    for (size_t i = 0; i < p.size(); i += 2) p[i] = asp - p[i];
  Mask m = ShapeMask(img, [&](double u, double v) { return sdf::Polygon(u, v, p) - 0.01; });
  img.AddLight(BlurMask(m, img, 0.05), Hex(0xdff8ff), 0.7);
  img.Fill(m, VGradient(Hex(0xd7e6f5), pal::kWhite, 0.1, 0.9));
}

// Tall hangar board; only its lower half (v below about 0.56) is on screen.
// The game draws it over the ship on display, so the ship's bay is a clear
// window in the glass.
void PaintSelectBoard(Image& img) {
  double asp = img.aspect;  // 0.5
  PanelLook look;
  look.opacity = 0.72;
  look.cut = 0.08;
  // The board runs on above the top of the screen; nothing is drawn there.
  DrawPanel(img, 0.015, 0.006, asp - 0.015, 0.66, look);
  double cu = asp * 0.5, cv = 0.165;
  double wv0 = 0.14, wv1 = 0.465, whw = asp * 0.5 - 0.045;
  auto window = [=](double u, double v) { return ChamferBox(u, v, cu, 0.5 * (wv0 + wv1), whw, 0.5 * (wv1 - wv0), 0.05); };
  img.MultiplyAlpha(FieldMask(img, [&](double u, double v) { return 1.0 - Sat(0.5 - window(u, v) / (img.PixV() * 1.0)); }));
  Mask bayRim = ShapeMask(img, [=](double u, double v) { return dm::Abs(window(u, v)) - 0.0025; });
  img.AddLight(BlurMask(bayRim, img, 0.006), pal::kCyan, 0.6);
  img.Fill(bayRim, Hex(0x9ff2ff), 0.9);
  // Holographic pedestal under the ship.
  for (int i = 0; i < 3; ++i) {
    double rx = 0.17 - i * 0.04, ry = 0.028 - i * 0.006;
    Mask ring = FieldMask(img, [=](double u, double v) {
      double d = dm::Abs(dm::Len((u - cu) / rx, (v - cv + i * 0.004) / ry) - 1.0);
      return Smooth(0.09, 0.0, d);
    });
    img.AddLight(ring, i == 0 ? pal::kCyan : pal::kTeal, 1.0 - i * 0.25);
  }
  Mask corners = ShapeMask(img, [=](double u, double v) {
    double d = 1e9;
    const double us[2] = {cu - whw + 0.02, cu + whw - 0.02};
    for (double uu : us) d = dm::Min(d, sdf::Circle(u, v, uu, wv1 - 0.012, 0.004));
    return d;
  });
  img.AddLight(BlurMask(corners, img, 0.006), pal::kAmber, 1.0);
  img.Fill(corners, Hex(0xffe2b0));
  Lettering l = Accent(0.028);
  l.style.tracking = 0.3;
  DrawLettering(img, l, "SELECT YOUR SHIP", asp * 0.5, 0.51, 0);
  Mask line = ShapeMask(img, [=](double u, double v) { return sdf::Box(u, v, asp * 0.5, 0.5, 0.17, 0.0012); });
  img.Fill(line, pal::kAmber, 0.6);
}

void PaintShipInfo(Image& img, const std::string& name, const std::string& ability, const std::string& body) {
  double asp = img.aspect;  // 4
  DrawPanel(img, 0.04, 0.06, asp - 0.04, 0.94);
  Lettering n = Accent(0.2);
  n.style.tracking = 0.12;
  DrawLettering(img, n, name, 0.22, 0.65, -1);
  double nameW = TextWidth(n.style, name);
  Lettering a = Headline(0.1);
  a.fillTop = pal::kWhite;
  a.fillBottom = pal::kCyan;
  a.glowRadius = 0.025;
  a.glowStrength = 0.9;
  a.style.tracking = 0.15;
  DrawLettering(img, a, ability, 0.22 + nameW + 0.12, 0.65, -1);
  RichLook look;
  look.style = {FontId::SansBold, 0.095, 0.0, 1.0};
  look.lineGap = 1.55;
  look = FitRich(look, body, asp - 0.5);
  DrawRich(img, look, body, 0.22, 0.32, -1);
}

void PaintPadlock(Image& img, double cu, double cv, double s) {
  Mask shackle = ShapeMask(img, [=](double u, double v) {
    double ring = sdf::Ring(u, v, cu, cv + s * 0.35, s * 0.28, s * 0.06);
    return dm::Max(ring, cv + s * 0.3 - v);
  });
  Mask legs = ShapeMask(img, [=](double u, double v) {
    return dm::Min(sdf::Box(u, v, cu - s * 0.28, cv + s * 0.2, s * 0.06, s * 0.15), sdf::Box(u, v, cu + s * 0.28, cv + s * 0.2, s * 0.06, s * 0.15));
  });
  Mask body = ShapeMask(img, [=](double u, double v) { return sdf::Box(u, v, cu, cv - s * 0.12, s * 0.45, s * 0.33, s * 0.08); });
  Mask all = MaxMask(MaxMask(shackle, legs), body);
  img.AddLight(BlurMask(all, img, s * 0.15), pal::kAmber, 0.7);
  img.Fill(MaxMask(shackle, legs), VGradient(Hex(0x9aa3b5), Hex(0xe6ebf5), cv, cv + s * 0.7));
  img.Fill(body, VGradient(Hex(0xd9881f), Hex(0xffc766), cv - s * 0.45, cv + s * 0.2));
  Mask hole = ShapeMask(img, [=](double u, double v) {
    return dm::Min(sdf::Circle(u, v, cu, cv - s * 0.05, s * 0.07), sdf::Box(u, v, cu, cv - s * 0.2, s * 0.03, s * 0.12));
  });
  img.Fill(hole, Hex(0x3a2206));
}

// Laid over a locked ship on the select board. The square is centred below
// the ship, so the badge sits in its upper part and leaves the ship's
// description below it readable.
void PaintUnlock(Image& img, const std::string& how) {
  const double cu = 0.5, cv = 0.635, r = 0.31;
  Mask disc = ShapeMask(img, [=](double u, double v) { return sdf::Circle(u, v, cu, cv, r); });
  img.Fill(disc, RadialGradient(cu, cv, r, WithAlpha(pal::kInk, 0.66), WithAlpha(pal::kInk, 0.86)));
  Mask ring = ShapeMask(img, [=](double u, double v) { return sdf::Ring(u, v, cu, cv, r, 0.005); });
  img.AddLight(BlurMask(ring, img, 0.012), pal::kAmber, 0.7);
  img.Fill(ring, pal::kAmber, 0.95);
  PaintPadlock(img, cu, cv + 0.12, 0.15);
  Lettering l = Accent(0.06);
  l.style.tracking = 0.3;
  DrawLettering(img, l, "LOCKED", cu, cv - 0.04, 0);
  RichLook look;
  look.style = {FontId::SansBold, 0.036, 0.0, 1.0};
  look = FitRich(look, how, 0.5);
  DrawRich(img, look, how, cu, cv - 0.16, 0);
}

// ----- play HUD and game over ---------------------------------------------

// Ten digits in ten equal cells; a digit object shows one tenth of the strip.
void PaintDials(Image& img) {
  double cellW = img.aspect / 10.0;
  TextStyle st{FontId::SansBold, 1.0, 0.0, 1.0};
  double cap = CapHeight(st);
  st.size = 0.84 / cap;  // digits fill 84 % of the cell height
  double digitW = TextWidth(st, "0");
  st.xScale = dm::Min(1.0, cellW * 0.8 / digitW);
  for (int d = 0; d < 10; ++d) {
    std::string s(1, static_cast<char>('0' + d));
    double cu = cellW * (d + 0.5);
    Mask m = TextMask(img, st, s, cu, 0.08, 0);
    img.Fill(m, VGradient(Hex(0xd0dbea), pal::kWhite, 0.08, 0.92));
  }
}

void PaintComboX(Image& img) {
  double asp = img.aspect;
  double cu = asp * 0.5, cv = 0.4, s = asp * 0.34;
  Mask m = ShapeMask(img, [=](double u, double v) {
    return dm::Min(sdf::Segment(u, v, cu - s, cv - s, cu + s, cv + s, asp * 0.09),
                   sdf::Segment(u, v, cu - s, cv + s, cu + s, cv - s, asp * 0.09));
  });
  img.Fill(m, VGradient(Hex(0xd0dbea), pal::kWhite, cv - s, cv + s));
}

// Backing of the combo counter, flush with the screen's right edge and
// tinted by the game in a darker shade of the combo's colour. The digits
// stand on its middle line and rise above it, so the label sits low. A big
// combo stretches it over half the screen, ship included, so the glass is
// only a tint and the rim carries the shape.
void PaintComboBack(Image& img) {
  double asp = img.aspect;
  auto shape = [=](double u, double v) { return ChamferBox(u, v, asp * 0.5 + 0.15, 0.5, asp * 0.5 - 0.02, 0.45, 0.22); };
  Mask body = ShapeMask(img, shape);
  img.Fill(body, VGradient(WithAlpha(Hex(0xc9d2e0), 0.08), WithAlpha(pal::kWhite, 0.2), 0.0, 1.0));
  Mask rim = ShapeMask(img, [=](double u, double v) { return dm::Abs(shape(u, v) + 0.01) - 0.01; });
  img.Fill(rim, pal::kWhite, 0.95);
  Lettering l = Headline(0.12);
  l.style.tracking = 0.45;
  l.glowRadius = 0;
  l.outlineWidth = 0;
  l.shadow = 0.012;
  DrawLettering(img, l, "COMBO", 0.44, 0.13, -1);
}

// The popup's box runs from just under the combo box's middle line down;
// the combo box's own COMBO label crosses its upper part (higher the
// smaller the combo), so the lettering keeps to the lower half.
void PaintComboPopup(Image& img) {
  double asp = img.aspect;
  Lettering l = Headline(0.36, FontId::SansBold);
  l.style.tracking = 0.05;
  l.fillBottom = Hex(0xdde6f2);
  l.glow = pal::kWhite;
  l.glowStrength = 0.35;
  l.style = FitWidth(l.style, "NEAR MISS!", asp * 0.9);
  DrawLettering(img, l, "NEAR MISS!", asp * 0.5, 0.2, 0);
  Lettering s = Headline(0.13);
  s.style.tracking = 0.4;
  s.glowRadius = 0;
  DrawLettering(img, s, "COMBO \xc3\x97" "2", asp * 0.5, 0.03, 0);
}

// Spans the bottom quarter of the window's width, which is where the ship
// trails the camera: everything sits in the lowest third and the band above
// stays clear glass, so the ship and what it dodges show through. The words
// read by their dark outline and red glow, with no backing behind them.
void PaintWarningBanner(Image& img) {
  double asp = img.aspect;  // 4
  Mask glow = FieldMask(img, [](double, double v) { return 0.6 * dm::Exp(-v / 0.08); });
  img.Fill(glow, Hex(0xd01830));
  Mask stripes = FieldMask(img, [](double u, double v) {
    if (v > 0.05) return 0.0;
    return Smooth(0.45, 0.55, dm::Fract((u + v) * 5.0)) * Smooth(0.05, 0.035, v);
  });
  img.Fill(stripes, Hex(0x1a0208), 0.8);
  Mask tri = ShapeMask(img, [=](double u, double v) {
    auto t = [&](double cu) {
      std::vector<double> p = {cu, 0.34, cu + 0.12, 0.11, cu - 0.12, 0.11};
      return dm::Abs(sdf::Polygon(u, v, p) + 0.01) - 0.01;
    };
    return dm::Min(t(0.55), t(asp - 0.55));
  });
  Mask bang = ShapeMask(img, [=](double u, double v) {
    auto b = [&](double cu) { return dm::Min(sdf::Box(u, v, cu, 0.235, 0.01, 0.05, 0.008), sdf::Circle(u, v, cu, 0.16, 0.012)); };
    return dm::Min(b(0.55), b(asp - 0.55));
  });
  img.AddLight(BlurMask(tri, img, 0.025), pal::kRed, 0.9);
  img.Fill(GrowMask(tri, img, 0.008), Hex(0x14020a), 0.85);
  img.Fill(tri, Hex(0xffd0d4));
  img.Fill(bang, Hex(0xffd0d4));
  Lettering l = Headline(0.16);
  l.style.tracking = 0.14;
  l.glow = pal::kRed;
  l.glowStrength = 1.0;
  l.outlineWidth = 0.012;
  l.outline = Rgba{0.08, 0.0, 0.03, 0.95};
  l.fillBottom = Hex(0xffc0c8);
  l.style = FitWidth(l.style, "BLACK HOLE APPROACHING", asp - 1.6);
  DrawLettering(img, l, "BLACK HOLE APPROACHING", asp * 0.5, 0.18, 0);
  Lettering s = Headline(0.07);
  s.style.font = FontId::Sans;
  s.style.tracking = 0.3;
  s.glowRadius = 0;
  s.outlineWidth = 0.007;
  s.outline = Rgba{0.08, 0.0, 0.03, 0.9};
  s.fillTop = s.fillBottom = Hex(0xffd6da);
  DrawLettering(img, s, "KEEP FLYING UP", asp * 0.5, 0.065, 0);
  // Else its top edge shows as a line across the screen; the bottom edge is
  // the window's own.
  img.ClearBottomRow();
}

void PaintGameOverTitle(Image& img) {
  double asp = img.aspect;
  Lettering l = Headline(0.5);
  l.style.tracking = 0.16;
  l.fillTop = pal::kWhite;
  l.fillBottom = Hex(0xff8aa0);
  l.glow = Hex(0xff3060);
  l.glowRadius = 0.08;
  l.glowStrength = 1.0;
  l.style = FitWidth(l.style, "GAME OVER", asp - 0.3);
  DrawLettering(img, l, "GAME OVER", asp * 0.5, 0.5 - CapHeight(l.style) * 0.5, 0);
}

// Only the right 65 % is ever on screen; the digits sit in the slot at the
// right end (drawn by the game), the label before them.
void PaintScoreBoard(Image& img) {
  double asp = img.aspect;  // 8
  PanelLook look;
  look.cut = 0.3;
  DrawPanel(img, 0.04, 0.06, asp - 0.04, 0.94, look);
  double s0 = asp * 0.695, s1 = asp * 0.968;
  Mask slot = ShapeMask(img, [=](double u, double v) { return sdf::Box(u, v, 0.5 * (s0 + s1), 0.55, 0.5 * (s1 - s0), 0.33, 0.06); });
  img.Fill(slot, pal::kInk, 0.85);
  Mask slotRim = ShapeMask(img, [=](double u, double v) {
    return dm::Abs(sdf::Box(u, v, 0.5 * (s0 + s1), 0.55, 0.5 * (s1 - s0), 0.33, 0.06) + 0.012) - 0.012;
  });
  img.Fill(slotRim, pal::kGreen, 0.8);
  Lettering l = Accent(0.4);
  l.style.tracking = 0.3;
  DrawLettering(img, l, "SCORE", asp * 0.55, 0.5 - CapHeight(l.style) * 0.5, 0);
}

// Two thirds of the board hang off the right edge; the ship the run
// unlocked is shown at about a quarter of its width.
void PaintUnlockBoard(Image& img) {
  double asp = img.aspect;  // 2
  // Drawn only as far as the screen's right edge can reach.
  DrawPanel(img, 0.03, 0.04, asp * 0.68, 0.96);
  double cu = asp * 0.256, cv = 0.5;
  Mask halo = FieldMask(img, [=](double u, double v) {
    double r = dm::Len(u - cu, v - cv);
    return 0.5 * dm::Exp(-r * r / 0.025) * Smooth(0.45, 0.3, r);
  });
  img.AddLight(halo, pal::kAmber, 0.6);
  Mask ring = FieldMask(img, [=](double u, double v) {
    return Smooth(0.012, 0.0, dm::Abs(dm::Len((u - cu) / 0.38, (v - cv + 0.2) / 0.07) - 1.0) * 0.07);
  });
  img.AddLight(ring, pal::kAmber, 1.0);
  Lettering l = Accent(0.085);
  l.style.tracking = 0.2;
  l.style = FitWidth(l.style, "NEW SHIP UNLOCKED!", asp * 0.46);
  DrawLettering(img, l, "NEW SHIP UNLOCKED!", cu, 0.82, 0);
}

void PaintTryNew(Image& img) {
  double asp = img.aspect;
  Lettering l = Headline(0.3);
  l.fillBottom = pal::kWhite;
  l.glow = pal::kWhite;
  l.glowStrength = 0.35;
  l.style.tracking = 0.06;
  l.style = FitWidth(l.style, "TRY YOUR NEW SHIP!", asp - 0.3);
  DrawLettering(img, l, "TRY YOUR NEW SHIP!", asp * 0.5, 0.45, 0);
  Lettering s = Headline(0.12);
  s.style.font = FontId::Sans;
  s.glowRadius = 0;
  DrawLettering(img, s, "pick it on the ship select screen", asp * 0.5, 0.2, 0);
}

// Bottom-right corner of the game-over screen. On wide screens the unlock
// board covers its top third, so everything sits in the lower two thirds.
void PaintSelectMessage(Image& img) {
  double asp = img.aspect;  // 2
  DrawPanel(img, 0.04, 0.05, asp - 0.04, 0.64);
  RichLook look;
  look.style = {FontId::SansBold, 0.1, 0.0, 1.0};
  look.lineGap = 1.75;
  std::string text = "[R] or {START}  *RETRY*\n[ESC] or {BACK}  *MENU*";
  look = FitRich(look, text, asp - 0.45);
  DrawRich(img, look, text, 0.26, 0.345, -1);
}

void PaintSmallTag(Image& img, const std::string& label) {
  DrawPanel(img, 0.05, 0.1, img.aspect - 0.05, 0.9);
  Lettering l = Headline(0.36);
  l.style.tracking = 0.2;
  l.style = FitWidth(l.style, label, img.aspect - 0.5);
  DrawLettering(img, l, label, img.aspect * 0.5, 0.5 - CapHeight(l.style) * 0.5, 0);
}

// Beside tutorial panel 8: planets pull ships in.
void PaintGravityDiagram(Image& img) {
  double asp = img.aspect;  // 2
  DrawPanel(img, 0.03, 0.04, asp - 0.03, 0.96);
  double pu = 1.3, pv = 0.44, pr = 0.2;
  for (int i = 1; i <= 3; ++i) {
    double r = pr + i * 0.085;
    Mask ring = FieldMask(img, [=](double u, double v) {
      double a = dm::Atan2(v - pv, u - pu);
      double dash = Smooth(0.3, 0.2, dm::Abs(dm::Fract(a / dm::kTwoPi * 28) - 0.5));
      return dash * Smooth(0.007, 0.002, dm::Abs(dm::Len(u - pu, v - pv) - r)) * (0.9 - i * 0.2);
    });
    img.AddLight(ring, Hex(0x7f8cff), 1.0);
  }
  Mask planet = ShapeMask(img, [=](double u, double v) { return sdf::Circle(u, v, pu, pv, pr); });
  img.Fill(planet, RadialGradient(pu - 0.06, pv + 0.06, pr * 1.2, Hex(0xe6e4de), Hex(0x6c6c70)));
  // The ship's path bends into the planet.
  Mask path = FieldMask(img, [=](double u, double v) {
    double best = 1e9;
    for (int i = 0; i <= 60; ++i) {
      double t = i / 60.0;
      double x = 0.3 + t * 0.78, y = 0.62 + 0.1 * t - 0.3 * t * t * t;
      double dot = dm::Fract(t * 12) < 0.5 ? 1.0 : 0.0;
      if (dot > 0) best = dm::Min(best, dm::Len(u - x, v - y));
    }
    return Smooth(0.012, 0.006, best);
  });
  img.Fill(path, pal::kAmber, 0.9);
  std::vector<double> ship = {0.34, 0.63, 0.22, 0.69, 0.25, 0.63, 0.22, 0.57};
  Mask sm = ShapeMask(img, [&](double u, double v) { return sdf::Polygon(u, v, ship); });
  img.Fill(sm, pal::kWhite);
  // The marker waits beside the moon, outside its pull.
  Mask marker = ShapeMask(img, [=](double u, double v) { return sdf::Ring(u, v, pu + 0.36, pv + 0.33, 0.055, 0.01); });
  img.AddLight(BlurMask(marker, img, 0.02), pal::kAmber, 1.0);
  img.Fill(marker, Hex(0xffe2b0));
  Lettering l = Accent(0.075);
  l.style.tracking = 0.2;
  DrawLettering(img, l, "GRAVITY", 0.2, 0.8, -1);
  Lettering s = Headline(0.068);
  s.glowRadius = 0;
  DrawLettering(img, s, "too close: swallowed!", 0.2, 0.11, -1);
}

}  // namespace

void AddInterfaceImages(AssetList& out) {
  const std::string g = "Graphic_Assets/";

  AddPicture(out, g + "test.tga", 32, 32, 0, false, [](Image& i) {
    i.Clear(Hex(0x808080));
    Mask cross = ShapeMask(i, [](double u, double v) {
      return dm::Min(sdf::Box(u, v, 0.5, 0.5, 0.4, 0.03), sdf::Box(u, v, 0.5, 0.5, 0.03, 0.4));
    });
    i.Fill(cross, Hex(0xb0b0b0));
  });
  AddPicture(out, g + "black.tga", 8, 8, 0, false, [](Image& i) { i.Clear(Hex(0x000000)); });
  AddPicture(out, g + "ScoreBox.tga", 256, 64, 0, true, [](Image& i) { PaintSmallTag(i, "SCORE"); });

  AddPicture(out, g + "Background/warningBH.tga", 1024, 256, 0, true, PaintWarningBanner);
  AddPicture(out, g + "Background/ComboBack.tga", 256, 128, 1.6, true, PaintComboBack);
  AddPicture(out, g + "Background/X.tga", 128, 256, 1.0 / 2.6, true, PaintComboX);

  AddPicture(out, g + "Menu/title.tga", 1024, 512, 0, true, PaintTitle);
  AddPicture(out, g + "Menu/Loading.tga", 256, 64, 0, true, PaintLoading);
  AddPicture(out, g + "Menu/selectbutton.tga", 512, 128, 0, true, PaintSelectBar);
  AddPicture(out, g + "Menu/OptionON.tga", 512, 128, 0, true, [](Image& i) { PaintOptionValue(i, "ON", "", pal::kGreen); });
  AddPicture(out, g + "Menu/OptionOFF.tga", 512, 128, 0, true, [](Image& i) { PaintOptionValue(i, "OFF", "", pal::kRed); });
  AddPicture(out, g + "Menu/OptionSD.tga", 512, 128, 0, true,
             [](Image& i) { PaintOptionValue(i, "SD", "1024\xc3\x97" "768", pal::kCyan); });
  AddPicture(out, g + "Menu/OptionHD.tga", 512, 128, 0, true,
             [](Image& i) { PaintOptionValue(i, "HD", "1280\xc3\x97" "720", pal::kCyan); });
  AddPicture(out, g + "Menu/OptionFHD.tga", 512, 128, 0, true,
             [](Image& i) { PaintOptionValue(i, "FHD", "1920\xc3\x97" "1080", pal::kCyan); });
  AddPicture(out, g + "Menu/left.tga", 128, 128, 0.65, true, [](Image& i) { PaintArrow(i, false); });
  AddPicture(out, g + "Menu/right.tga", 128, 128, 0.65, true, [](Image& i) { PaintArrow(i, true); });
  AddPicture(out, g + "Menu/selectboard.tga", 512, 1024, 0, true, PaintSelectBoard);
  AddPicture(out, g + "Menu/scoreboard.tga", 1024, 128, 0, true, PaintScoreBoard);
  AddPicture(out, g + "Menu/unlockboard.tga", 1024, 512, 0, true, PaintUnlockBoard);
  AddPicture(out, g + "Menu/HUDgameover.tga", 256, 128, 0, true, [](Image& i) { PaintSmallTag(i, "GAME OVER"); });

  AddPicture(out, g + "Message/StartButtonS.tga", 512, 128, 0, true, [](Image& i) { PaintButton(i, "START"); });
  AddPicture(out, g + "Message/OptionButtonS.tga", 512, 128, 0, true, [](Image& i) { PaintButton(i, "OPTIONS"); });
  AddPicture(out, g + "Message/CreditButtonS.tga", 512, 128, 0, true, [](Image& i) { PaintButton(i, "CREDITS"); });
  AddPicture(out, g + "Message/QuitButtonS.tga", 512, 128, 0, true, [](Image& i) {
    // The quit row's highlight is narrower and further right than the others.
    PaintButton(i, "QUIT", 0.38, 0.94);
  });
  AddPicture(out, g + "Message/BackButton.tga", 512, 128, 0, true, [](Image& i) { PaintButton(i, "BACK"); });

  // Help strips. The second strip of each screen is stacked half over the
  // first, so the first keeps its line in its lower half and the second in
  // its upper half; on the menu and options screens the second strip's left
  // part lies off screen.
  AddPicture(out, g + "Message/menututorial.tga", 512, 64, 0, true, [](Image& i) {
    PaintHelpLine(i, "[\xe2\x86\x91] [\xe2\x86\x93] {DPAD} {STICK} choose     [SPACE] [ENTER] {A} select", 0.0, 0.04, 0.48);
  });
  AddPicture(out, g + "Message/menututorial2.tga", 512, 64, 0, true,
             [](Image& i) { PaintHelpLine(i, "[ESC] {BACK} quit the game", 8.0 * 0.19, 0.54, 0.98); });
  AddPicture(out, g + "Message/OptionTutorial.tga", 512, 64, 0, true, [](Image& i) {
    PaintHelpLine(i, "[\xe2\x86\x91] [\xe2\x86\x93] choose     [\xe2\x86\x90] [\xe2\x86\x92] [SPACE] [ENTER] {A} {STICK} change", 0.0, 0.04, 0.5);
  });
  AddPicture(out, g + "Message/OptionTutorial2.tga", 512, 64, 0, true,
             [](Image& i) { PaintHelpLine(i, "[ESC] {BACK} back to the menu", 8.0 * 0.36, 0.36, 0.82); });
  AddPicture(out, g + "Message/SelectTutorial.tga", 512, 64, 0, true, [](Image& i) {
    PaintHelpLine(i, "[\xe2\x86\x90] [\xe2\x86\x92] {DPAD} {LB} {RB} browse     [SPACE] [ENTER] {A} launch", 0.0, 0.04, 0.48);
  });
  AddPicture(out, g + "Message/SelectTutorial2.tga", 512, 64, 0, true,
             [](Image& i) { PaintHelpLine(i, "[ESC] {BACK} back to the menu", 0.0, 0.54, 0.98); });

  AddPicture(out, g + "Message/OptionTitle.tga", 512, 256, 1.7, true, [](Image& i) {
    Lettering l = Headline(0.34);
    l.style.tracking = 0.14;
    l.style = FitWidth(l.style, "OPTIONS", i.aspect - 0.2);
    DrawLettering(i, l, "OPTIONS", i.aspect * 0.5, 0.42, 0);
    Mask line = ShapeMask(i, [&](double u, double v) { return sdf::Box(u, v, i.aspect * 0.5, 0.3, i.aspect * 0.4, 0.008); });
    i.Fill(line, HGradient(WithAlpha(pal::kAmber, 0.0), pal::kAmber, 0.0, i.aspect * 0.5), 0.9);
  });
  AddPicture(out, g + "Message/OptionFullscreen.tga", 512, 128, 0, true, [](Image& i) { PaintOptionLabel(i, "FULL SCREEN"); });
  AddPicture(out, g + "Message/OptionSound.tga", 512, 128, 3.0, true, [](Image& i) { PaintOptionLabel(i, "SOUND"); });
  AddPicture(out, g + "Message/OptionResolution.tga", 512, 128, 3.0, true, [](Image& i) { PaintOptionLabel(i, "RESOLUTION"); });

  AddPicture(out, g + "Message/ship1expl.tga", 1024, 256, 0, true, [](Image& i) {
    PaintShipInfo(i, "STRIDER", "BOOSTER",
                  "A burst of speed that leaves an *afterimage trail*.\n[CTRL] {B} {X} or {RT} to boost.");
  });
  AddPicture(out, g + "Message/ship2expl.tga", 1024, 256, 0, true, [](Image& i) {
    PaintShipInfo(i, "TWINFANG", "TWIN BULLETS",
                  "Fires *two bullets* that shatter rocks for points.\n[CTRL] {B} {X} or {RT} to fire.");
  });
  AddPicture(out, g + "Message/ship3expl.tga", 1024, 256, 0, true, [](Image& i) {
    PaintShipInfo(i, "HALO", "ANTIGRAVITY",
                  "An *antigravity wind* blows rocks away and turns a\nplanet's pull into a push.  [CTRL] {B} {X} or {RT}");
  });
  AddPicture(out, g + "Message/unlock2.tga", 512, 512, 0, true,
             [](Image& i) { PaintUnlock(i, "Score more than *5000*\nin one run to unlock"); });
  AddPicture(out, g + "Message/unlock3.tga", 512, 512, 0, true,
             [](Image& i) { PaintUnlock(i, "Reach a combo\nabove *1000* to unlock"); });

  AddPicture(out, g + "Message/quenlowwhite.tga", 1024, 256, 0, true, PaintEngineMark);
  AddPicture(out, g + "Message/tovrak.tga", 512, 512, 0, true, PaintTeamBadge);
  AddPicture(out, g + "Message/fmodLogo.tga", 512, 256, 0, true, PaintSoundCredit);
  AddPicture(out, g + "Message/CreditImage.tga", 1024, 1024, 1.35, true, PaintCredits);

  AddPicture(out, g + "Message/dials.tga", 1024, 256, 10.0 / 2.6, true, PaintDials);
  AddPicture(out, g + "Message/combo1.tga", 512, 128, 3.3, true, PaintComboPopup);
  AddPicture(out, g + "Message/gameovertitle.tga", 1024, 256, 0, true, PaintGameOverTitle);
  AddPicture(out, g + "Message/trynew1.tga", 1024, 256, 0, true, PaintTryNew);
  AddPicture(out, g + "Message/select.tga", 512, 256, 0, true, PaintSelectMessage);
    // The resume picture is drawn twice as large as the other two; its
  // lettering is scaled down so all three read at one size.
  AddPicture(out, g + "Message/pauseResume.tga", 512, 256, 0, true, [](Image& i) { PaintPauseItem(i, "RESUME", 0.09); });
  AddPicture(out, g + "Message/pauseMenu.tga", 256, 128, 0, true, [](Image& i) { PaintPauseItem(i, "MAIN MENU", 0.18); });
  AddPicture(out, g + "Message/pauseQuit.tga", 256, 128, 0, true, [](Image& i) { PaintPauseItem(i, "QUIT GAME", 0.18); });

  const std::string cont = "[SPACE] or {A}  continue \xe2\x96\xb8";
  struct Talk {
    const char* title;
    const char* body;
    bool waitsForKey;
  };
  const Talk talks[11] = {
      {"WELCOME, PILOT", "A black hole is swallowing this sector: *outrun it!*\nFill the *fuel meter* to open the warp and escape.", true},
      {"THE ENGINE", "Hold [\xe2\x86\x91], {A} or the left trigger {LT}\nto fire your engine and thrust forward.", true},
      {"FIRST FLIGHT", "Hold [\xe2\x86\x91] or {A} and thrust up into\nthe *marker* ahead of you.", false},
      {"STEERING", "Steer with [\xe2\x86\x90] [\xe2\x86\x92], the {DPAD}, {LB} {RB} or the {STICK} sticks.\nFly into the next *marker*.", false},
      {"ASTEROID FIELD", "Cross the rocks to the next *marker*.\nA hit puts you back to the start of this stretch.", false},
      {"FUEL", "From here on every hit *costs fuel*.\nWatch the fuel gauge at the top of the screen.", false},
      {"PICKUPS", "Collect the glowing *fuel pickups* on your way\nto fill the gauge.", false},
      {"GRAVITY", "Planets pull you in and can *swallow* you.\nReach the *marker* by the moon.", false},
      {"WELL DONE!", "You can fly. Now learn your ship's\n*special ability*.", true},
      {"YOUR ABILITY", "Fire your ship's ability with [CTRL], {B} or {X},\nor pull the right trigger {RT}.", false},
      {"COMBOS", "Near misses *double* your combo; a hit resets it.\nPress [R] or {START} to begin your run!", false},
  };
  for (int k = 0; k < 11; ++k) {
    Talk t = talks[k];
    AddPicture(out, g + "Message/talk" + std::to_string(k + 1) + ".tga", 512, 128, 0, true,
               [t, k, cont](Image& i) { PaintTalk(i, k + 1, t.title, t.body, t.waitsForKey ? cont : ""); });
  }
  AddPicture(out, g + "Message/talk8+.tga", 256, 128, 0, true, PaintGravityDiagram);
}
