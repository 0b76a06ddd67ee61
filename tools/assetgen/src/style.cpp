#include "style.h"

#include <vector>

#include "dmath.h"
#include "rng.h"

namespace pal {
const Rgba kInk = Hex(0x050816);
const Rgba kNavy = Hex(0x0a1230);
const Rgba kNavyHi = Hex(0x18265a);
const Rgba kCyan = Hex(0x5ee7ff);
const Rgba kTeal = Hex(0x2fd6b8);
const Rgba kAmber = Hex(0xffb547);
const Rgba kMagenta = Hex(0xcf5cff);
const Rgba kWhite = Hex(0xf2f6ff);
const Rgba kRed = Hex(0xff4f5e);
const Rgba kGreen = Hex(0x46e08a);
}  // namespace pal

double ChamferBox(double u, double v, double cu, double cv, double hw, double hh, double cut) {
  double qx = dm::Abs(u - cu), qy = dm::Abs(v - cv);
  double box = sdf::Box(u, v, cu, cv, hw, hh);
  // The cut is a 45-degree plane through the corner region.
  double diag = (qx + qy - (hw + hh - cut)) * 0.70710678;
  return dm::Max(box, diag);
}

void DrawPanel(Image& img, double u0, double v0, double u1, double v1, const PanelLook& look) {
  double cu = 0.5 * (u0 + u1), cv = 0.5 * (v0 + v1);
  double hw = 0.5 * (u1 - u0), hh = 0.5 * (v1 - v0);
  double px = 0.5 * (img.PixU() + img.PixV());
  double rim = look.rimWidth > 0 ? look.rimWidth : dm::Max(1.6 * px, 0.018 * dm::Min(hw, hh) * 2.0);
  double cut = look.cut > 0 ? look.cut : 0.28 * dm::Min(hw, hh);
  auto shape = [=](double u, double v) { return ChamferBox(u, v, cu, cv, hw, hh, cut); };
  double pad = dm::Min(hw, hh) * 0.6 + 0.02;
  Mask body = ShapeMask(img, shape, u0 - pad, v0 - pad, u1 + pad, v1 + pad);

  img.Fill(body, VGradient(look.bottom, look.top, v0, v1), look.opacity);
  // A faint sheen on the upper third, like light on glass.
  Mask sheen = ShapeMask(img, [=](double u, double v) {
    return dm::Max(ChamferBox(u, v, cu, cv, hw - rim * 2, hh - rim * 2, cut * 0.8), (v1 - hh * 0.55) - v);
  }, u0, v0, u1, v1);
  img.Fill(sheen, VGradient(WithAlpha(pal::kWhite, 0.0), WithAlpha(pal::kWhite, 0.07), v1 - hh * 0.55, v1));

  Mask edge = ShapeMask(img, [=](double u, double v) { return dm::Abs(shape(u, v) + rim * 0.5) - rim * 0.5; },
                        u0 - pad, v0 - pad, u1 + pad, v1 + pad);
  if (look.glow > 0) {
    Mask halo = BlurMask(edge, img, rim * 3.5);
    img.AddLight(halo, look.rim, 0.9 * look.glow);
  }
  img.Fill(edge, look.rim, 0.95);
  // Bright ticks on two opposite chamfers mark the frame as a display.
  double tick = rim * 1.2;
  Mask ticks = ShapeMask(img, [=](double u, double v) {
    double a = sdf::Segment(u, v, u0 + cut * 0.15, v1 - cut * 0.85, u0 + cut * 0.85, v1 - cut * 0.15, tick);
    double b = sdf::Segment(u, v, u1 - cut * 0.15, v0 + cut * 0.85, u1 - cut * 0.85, v0 + cut * 0.15, tick);
    return dm::Min(a, b);
  }, u0 - pad, v0 - pad, u1 + pad, v1 + pad);
  img.AddLight(BlurMask(ticks, img, tick * 2), pal::kWhite, 0.6);
  img.Fill(ticks, MixRgba(look.rim, pal::kWhite, 0.6));
}

Mask DrawLettering(Image& img, const Lettering& l, const std::string& text, double u, double baseline,
                   int align) {
  Mask m = TextMask(img, l.style, text, u, baseline, align);
  Mask outline = l.outlineWidth > 0 ? GrowMask(m, img, l.outlineWidth) : m;
  if (l.glowRadius > 0) {
    Mask glow = BlurMask(outline, img, l.glowRadius);
    img.AddLight(glow, l.glow, l.glowStrength);
  }
  if (l.shadow > 0) {
    int dx = static_cast<int>(l.shadow * 0.5 / img.PixU());
    int dy = -static_cast<int>(l.shadow / img.PixV());
    Mask sh = BlurMask(ShiftMask(outline, dx, dy), img, l.shadow * 0.8);
    img.Fill(sh, Rgba{0, 0, 0.02, 0.75});
  }
  if (l.outlineWidth > 0) img.Fill(outline, l.outline);
  double cap = CapHeight(l.style);
  img.Fill(m, VGradient(l.fillBottom, l.fillTop, baseline, baseline + cap));
  return m;
}

// ---------------------------------------------------------------------------

namespace {

enum class Kind { Text, Accent, Key, Pad };

struct Piece {
  Kind kind;
  std::string s;
};

std::vector<Piece> Parse(const std::string& line) {
  std::vector<Piece> out;
  std::string cur;
  auto flush = [&](Kind k) {
    if (!cur.empty()) out.push_back({k, cur});
    cur.clear();
  };
  for (size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (c == '[' || c == '{' || c == '*') {
      char close = c == '[' ? ']' : (c == '{' ? '}' : '*');
      size_t end = line.find(close, i + 1);
      if (end == std::string::npos) {
        cur += c;
        continue;
      }
      flush(Kind::Text);
      cur = line.substr(i + 1, end - i - 1);
      flush(c == '[' ? Kind::Key : (c == '{' ? Kind::Pad : Kind::Accent));
      i = end;
      continue;
    }
    cur += c;
  }
  flush(Kind::Text);
  return out;
}

TextStyle KeyStyle(const RichLook& look) {
  TextStyle ks = look.style;
  ks.font = FontId::SansBold;
  ks.size = look.style.size * 0.72;
  return ks;
}

// Width of a key cap or pad glyph, display units.
double PieceWidth(const RichLook& look, const Piece& p) {
  double em = look.style.size;
  if (p.kind == Kind::Text || p.kind == Kind::Accent) return TextWidth(look.style, p.s);
  double capH = em * 1.02;
  if (p.kind == Kind::Pad) {
    if (p.s == "A" || p.s == "B" || p.s == "X" || p.s == "Y" || p.s == "DPAD" || p.s == "STICK") return capH;
  }
  double textW = TextWidth(KeyStyle(look), p.s);
  return dm::Max(capH, textW + em * 0.55);
}

Rgba PadColour(const std::string& s) {
  if (s == "A") return Hex(0x34c46a);
  if (s == "B") return Hex(0xe5484d);
  if (s == "X") return Hex(0x3b82f6);
  if (s == "Y") return Hex(0xf2c230);
  return Hex(0x3a4466);
}

}  // namespace

double RichWidth(const RichLook& look, const std::string& line) {
  double wdt = 0.0;
  std::vector<Piece> ps = Parse(line);
  for (size_t i = 0; i < ps.size(); ++i) {
    wdt += PieceWidth(look, ps[i]);
    if (ps[i].kind == Kind::Key || ps[i].kind == Kind::Pad) {
      // Breathing room round caps that touch other caps directly.
      wdt += look.style.size * 0.12;
    }
  }
  return wdt;
}

void DrawRich(Image& img, const RichLook& look, const std::string& markup, double u, double cv, int align) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (true) {
    size_t nl = markup.find('\n', start);
    lines.push_back(markup.substr(start, nl == std::string::npos ? std::string::npos : nl - start));
    if (nl == std::string::npos) break;
    start = nl + 1;
  }
  double em = look.style.size;
  double cap = CapHeight(look.style);
  double gap = em * look.lineGap;
  double firstBase = cv + (lines.size() - 1) * gap * 0.5 - cap * 0.5;

  Mask textMask = img.NewMask(), accentMask = img.NewMask();
  Mask capBody = img.NewMask(), allShapes = img.NewMask();
  struct CapDraw {
    Piece p;
    double u0, u1, base;
  };
  std::vector<CapDraw> caps;
  for (size_t li = 0; li < lines.size(); ++li) {
    double base = firstBase - li * gap;
    double wdt = RichWidth(look, lines[li]);
    double pen = align < 0 ? u : (align == 0 ? u - wdt * 0.5 : u - wdt);
    for (const Piece& p : Parse(lines[li])) {
      double pw = PieceWidth(look, p);
      if (p.kind == Kind::Text || p.kind == Kind::Accent) {
        Mask t = TextMask(img, look.style, p.s, pen, base, -1);
        Mask& dst = p.kind == Kind::Text ? textMask : accentMask;
        dst = MaxMask(dst, t);
      } else {
        pen += em * 0.06;
        caps.push_back({p, pen, pen + pw, base});
        pen += em * 0.06;
      }
      pen += pw;
    }
  }
  // Key caps and pad buttons: shapes first, then their labels.
  Mask labels = img.NewMask(), darkLabels = img.NewMask();
  std::vector<std::pair<Mask, Rgba>> padFills;
  for (const CapDraw& c : caps) {
    double h = em * 1.02;
    double cvv = c.base + cap * 0.5;
    double cuu = 0.5 * (c.u0 + c.u1);
    double hw = 0.5 * (c.u1 - c.u0);
    bool round = c.p.kind == Kind::Pad &&
                 (c.p.s == "A" || c.p.s == "B" || c.p.s == "X" || c.p.s == "Y" || c.p.s == "STICK");
    Sdf shape;
    if (round) {
      shape = [=](double uu, double vv) { return sdf::Circle(uu, vv, cuu, cvv, h * 0.5); };
    } else if (c.p.kind == Kind::Pad) {
      shape = [=](double uu, double vv) { return sdf::Box(uu, vv, cuu, cvv, hw, h * 0.5, h * 0.45); };
    } else {
      shape = [=](double uu, double vv) { return sdf::Box(uu, vv, cuu, cvv, hw, h * 0.5, h * 0.2); };
    }
    Mask sh = ShapeMask(img, shape, c.u0 - em, cvv - em, c.u1 + em, cvv + em);
    allShapes = MaxMask(allShapes, sh);
    if (c.p.kind == Kind::Key) {
      capBody = MaxMask(capBody, sh);
      std::string label = c.p.s;
      // Arrow keys get a drawn arrow: the font's arrow glyphs are too thin
      // to read at key-cap size.
      double dirX = 0, dirY = 0;
      if (label == "\xe2\x86\x91") dirY = 1;
      if (label == "\xe2\x86\x93") dirY = -1;
      if (label == "\xe2\x86\x90") dirX = -1;
      if (label == "\xe2\x86\x92") dirX = 1;
      if (dirX != 0 || dirY != 0) {
        double a = h * 0.3;
        Mask arrow = ShapeMask(img, [=](double uu, double vv) {
          double px = uu - cuu, py = vv - cvv;
          double along = px * dirX + py * dirY, across = -px * dirY + py * dirX;
          double stem = sdf::Box(along, across, -a * 0.35, 0, a * 0.5, a * 0.13, a * 0.05);
          std::vector<double> head = {a * 0.95, 0, a * 0.1, a * 0.62, a * 0.1, -a * 0.62};
          return dm::Min(stem, sdf::Polygon(along, across, head));
        }, c.u0 - em, cvv - em, c.u1 + em, cvv + em);
        darkLabels = MaxMask(darkLabels, arrow);
      } else {
        TextStyle ks = KeyStyle(look);
        Mask t = TextMask(img, ks, label, cuu, cvv - CapHeight(ks) * 0.5, 0);
        darkLabels = MaxMask(darkLabels, t);
      }
    } else if (c.p.s == "DPAD") {
      padFills.push_back({sh, Hex(0x3a4466)});
      Mask cross = ShapeMask(img, [=](double uu, double vv) {
        double a = sdf::Box(uu, vv, cuu, cvv, h * 0.34, h * 0.11, h * 0.03);
        double b = sdf::Box(uu, vv, cuu, cvv, h * 0.11, h * 0.34, h * 0.03);
        return dm::Min(a, b);
      }, c.u0 - em, cvv - em, c.u1 + em, cvv + em);
      labels = MaxMask(labels, cross);
    } else if (c.p.s == "STICK") {
      padFills.push_back({sh, Hex(0x3a4466)});
      Mask knob = ShapeMask(img, [=](double uu, double vv) { return sdf::Ring(uu, vv, cuu, cvv, h * 0.24, h * 0.06); },
                            c.u0 - em, cvv - em, c.u1 + em, cvv + em);
      labels = MaxMask(labels, knob);
    } else {
      padFills.push_back({sh, PadColour(c.p.s)});
      TextStyle ks = KeyStyle(look);
      if (c.p.s.size() == 1) ks.size = em * 0.8;
      Mask t = TextMask(img, ks, c.p.s, cuu, cvv - CapHeight(ks) * 0.5, 0);
      labels = MaxMask(labels, t);
    }
  }
  if (look.shadow) {
    Mask all = MaxMask(MaxMask(textMask, accentMask), allShapes);
    Mask grown = GrowMask(all, img, em * 0.09);
    Mask sh = BlurMask(ShiftMask(grown, 0, -static_cast<int>(em * 0.06 / img.PixV())), img, em * 0.07);
    img.Fill(sh, Rgba{0.0, 0.0, 0.03, 0.8});
  }
  img.Fill(capBody, VGradient(Hex(0xaab4cc), Hex(0xf4f7ff), 0, 1));
  // Key caps read by their lower lip: a darker band at the bottom edge.
  for (const CapDraw& c : caps) {
    if (c.p.kind != Kind::Key) continue;
    double h = em * 1.02;
    double cvv = c.base + cap * 0.5;
    double cuu = 0.5 * (c.u0 + c.u1), hw = 0.5 * (c.u1 - c.u0);
    Mask lip = ShapeMask(img, [=](double uu, double vv) {
      return dm::Max(sdf::Box(uu, vv, cuu, cvv, hw, h * 0.5, h * 0.2), vv - (cvv - h * 0.32));
    }, c.u0 - em, cvv - em, c.u1 + em, cvv + em);
    img.Fill(lip, Hex(0x7d88a6), 0.9);
  }
  for (auto& pf : padFills) {
    img.Fill(pf.first, pf.second);
  }
  img.Fill(darkLabels, Hex(0x10162e));
  img.Fill(labels, pal::kWhite);
  img.Fill(textMask, look.text);
  img.Fill(accentMask, look.accent);
}

void Sparkle(Image& img, uint32_t seed, int count, double maxRadius, const Rgba& c) {
  Rng rng(seed);
  Mask m = img.NewMask();
  for (int i = 0; i < count; ++i) {
    double u = rng.Range(0, img.aspect), v = rng.Unit();
    double r1 = rng.Unit();
    double r2 = rng.Unit();
    double r = maxRadius * (0.3 + 0.7 * r1 * r2);
    double bright = 0.4 + 0.6 * rng.Unit();
    int x0 = img.ToX(u - r * 3), x1 = img.ToX(u + r * 3), y0 = img.ToY(v - r * 3), y1 = img.ToY(v + r * 3);
    for (int y = y0 < 0 ? 0 : y0; y <= y1 && y < img.h; ++y) {
      for (int x = x0 < 0 ? 0 : x0; x <= x1 && x < img.w; ++x) {
        double d = dm::Len(img.U(x) - u, img.V(y) - v) / r;
        double k = bright * dm::Exp(-d * d * 2.0);
        m.at(x, y) = static_cast<float>(dm::Sat(m.at(x, y) + k));
      }
    }
  }
  img.AddLight(m, c, 1.0);
}
