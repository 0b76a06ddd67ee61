// gen_ships.cpp -- the three player ships and what flies with them: flame,
// shield, bullet, antigravity wave, afterimage, and the fuel gauge.
// The game turns ship sprites by their heading with 0 radians along +x, so
// every ship here points to the right.
#include <vector>

#include "assets.h"
#include "dmath.h"
#include "rng.h"
#include "style.h"

namespace {

using dm::Sat;
using dm::Smooth;

using Poly = std::vector<double>;

Poly Mirror(const Poly& top) {  // mirrors about v = 0.5 and reverses order
  Poly out;
  for (size_t i = top.size(); i >= 2; i -= 2) {
    out.push_back(top[i - 2]);
    out.push_back(1.0 - top[i - 1]);
  }
  return out;
}

Mask PolyMask(const Image& img, const Poly& p) {
  return ShapeMask(img, [p](double u, double v) { return sdf::Polygon(u, v, p); });
}

// Hull shading that does not depend on the sprite's rotation: bright along
// the spine, darker toward the edges, as if lit from the camera.
Paint HullPaint(const Rgba& spine, const Rgba& edge, double spread) {
  return [=](double, double v) { return MixRgba(spine, edge, Sat(dm::Abs(v - 0.5) / spread)); };
}

void Canopy(Image& img, double cu, double cv, double ru, double rv) {
  auto shape = [=](double u, double v) {
    double du = (u - cu) / ru, dv = (v - cv) / rv;
    return (dm::Len(du, dv) - 1.0) * dm::Min(ru, rv);
  };
  Mask glass = ShapeMask(img, shape);
  img.Fill(glass, [=](double u, double v) {
    double t = Sat(dm::Len((u - cu - ru * 0.3) / ru, (v - cv - rv * 0.3) / rv));
    return MixRgba(Hex(0xbff6ff), Hex(0x0b3a63), t);
  });
  Mask glint = ShapeMask(img, [=](double u, double v) {
    double du = (u - cu - ru * 0.25) / (ru * 0.45), dv = (v - cv - rv * 0.35) / (rv * 0.22);
    return (dm::Len(du, dv) - 1.0) * rv * 0.22;
  });
  img.Fill(glint, pal::kWhite, 0.85);
  Mask rim = ShapeMask(img, [=](double u, double v) { return dm::Abs(shape(u, v) + 0.006) - 0.006; });
  img.Fill(rim, Hex(0x1d2a44), 0.9);
}

void EngineGlow(Image& img, double cu, double cv, double r, const Rgba& c) {
  Mask m = FieldMask(img, [=](double u, double v) {
    double d = dm::Len((u - cu) * 1.6, v - cv) / r;
    return dm::Exp(-d * d * 2.0);
  });
  img.AddLight(m, c, 1.0);
}

// ----- ship 1: a light dart with swept wings --------------------------------

const Poly kShip1Body = {1.96, 0.5, 1.62, 0.585, 1.1, 0.63, 0.5, 0.615, 0.2, 0.57, 0.2, 0.43, 0.5, 0.385, 1.1, 0.37, 1.62, 0.415};
const Poly kShip1WingTop = {1.25, 0.6, 0.72, 0.955, 0.42, 0.955, 0.52, 0.85, 0.66, 0.6};
const Poly kShip1FinTop = {0.5, 0.6, 0.24, 0.74, 0.14, 0.74, 0.25, 0.58};

void PaintShip1(Image& img, bool ghost) {
  Poly wingB = Mirror(kShip1WingTop), finB = Mirror(kShip1FinTop);
  Mask wings = MaxMask(PolyMask(img, kShip1WingTop), PolyMask(img, wingB));
  Mask fins = MaxMask(PolyMask(img, kShip1FinTop), PolyMask(img, finB));
  Mask body = PolyMask(img, kShip1Body);
  if (ghost) {
    Mask all = MaxMask(MaxMask(wings, fins), body);
    img.AddLight(BlurMask(all, img, 0.03), Hex(0xbfefff), 0.8);
    img.Fill(all, HullPaint(Hex(0xffffff), Hex(0xb8d8ee), 0.45), 0.75);
    return;
  }
  img.Fill(wings, HullPaint(Hex(0xdfe6f2), Hex(0x7a879f), 0.45));
  // Amber leading edges on the wings: the ship's colour.
  Mask stripes = MinMask(wings, FieldMask(img, [](double u, double v) {
    double m = 0.5 + dm::Abs(v - 0.5);                 // fold the lower wing onto the upper
    double edge = 0.6 + (1.25 - u) * (0.355 / 0.53);  // leading edge of the wing at this u
    return Smooth(0.02, 0.01, dm::Abs(m - (edge - 0.04)));
  }));
  img.Fill(stripes, pal::kAmber);
  Mask wingLines = MinMask(wings, FieldMask(img, [](double u, double v) {
    double m = 0.5 + dm::Abs(v - 0.5);
    return Smooth(0.006, 0.0, dm::Abs(u - 0.78)) * (m > 0.64 ? 1.0 : 0.0) + Smooth(0.005, 0.0, dm::Abs(m - 0.7)) * (u < 1.0 && u > 0.6 ? 0.7 : 0.0);
  }));
  img.Fill(wingLines, Hex(0x4a546a), 0.5);
  img.Fill(fins, HullPaint(Hex(0xc8d0de), Hex(0x5c6780), 0.3));
  img.Fill(body, HullPaint(Hex(0xffffff), Hex(0x8d98ae), 0.14));
  Mask seams = MinMask(body, FieldMask(img, [](double u, double v) {
    double a = Smooth(0.008, 0.0, dm::Abs(u - 0.95));
    double b = Smooth(0.008, 0.0, dm::Abs(u - 0.62));
    double c = Smooth(0.005, 0.0, dm::Abs(v - 0.5)) * (u < 1.15 ? 1.0 : 0.0);
    return dm::Max(dm::Max(a, b), c);
  }));
  img.Fill(seams, Hex(0x4a546a), 0.6);
  Mask nose = MinMask(body, FieldMask(img, [](double u, double) { return Smooth(1.72, 1.8, u); }));
  img.Fill(nose, pal::kAmber);
  Canopy(img, 1.36, 0.5, 0.24, 0.065);
  Mask nozzle = ShapeMask(img, [](double u, double v) { return sdf::Box(u, v, 0.2, 0.5, 0.04, 0.06, 0.015); });
  img.Fill(nozzle, Hex(0x3a4258));
  EngineGlow(img, 0.17, 0.5, 0.07, pal::kCyan);
  Mask lights = ShapeMask(img, [](double u, double v) {
    return dm::Min(sdf::Circle(u, v, 0.5, 0.935, 0.014), sdf::Circle(u, v, 0.5, 0.065, 0.014));
  });
  img.AddLight(BlurMask(lights, img, 0.02), pal::kCyan, 1.0);
  img.Fill(lights, pal::kWhite);
}

// ----- ship 2: a heavier gunship with twin forward cannons ------------------

void PaintShip2(Image& img) {
  Poly body = {1.55, 0.5, 1.35, 0.62, 0.8, 0.7, 0.3, 0.66, 0.12, 0.6, 0.12, 0.4, 0.3, 0.34, 0.8, 0.3, 1.35, 0.38};
  Poly podTop = {1.97, 0.755, 1.9, 0.8, 0.7, 0.84, 0.4, 0.95, 0.25, 0.95, 0.32, 0.74, 0.7, 0.66, 1.9, 0.7};
  Poly podBot = Mirror(podTop);
  Mask pods = MaxMask(PolyMask(img, podTop), PolyMask(img, podBot));
  img.Fill(pods, [](double, double v) {
    double d = dm::Abs(dm::Abs(v - 0.5) - 0.25);
    return MixRgba(Hex(0xd8dde8), Hex(0x59627a), Sat(d / 0.12));
  });
  Mask barrels = ShapeMask(img, [](double u, double v) {
    return dm::Min(sdf::Box(u, v, 1.6, 0.75, 0.36, 0.018, 0.01), sdf::Box(u, v, 1.6, 0.25, 0.36, 0.018, 0.01));
  });
  img.Fill(barrels, Hex(0x2a3044));
  Mask muzzles = ShapeMask(img, [](double u, double v) {
    return dm::Min(sdf::Circle(u, v, 1.95, 0.75, 0.022), sdf::Circle(u, v, 1.95, 0.25, 0.022));
  });
  img.AddLight(BlurMask(muzzles, img, 0.025), pal::kMagenta, 1.0);
  img.Fill(muzzles, Hex(0xffc8ff));
  Mask hull = PolyMask(img, body);
  img.Fill(hull, HullPaint(Hex(0xf2f4fa), Hex(0x6f7991), 0.2));
  Mask stripe = MinMask(hull, FieldMask(img, [](double u, double v) {
    return Smooth(0.012, 0.004, dm::Abs(dm::Abs(v - 0.5) - 0.1)) * (u > 0.4 && u < 1.2 ? 1.0 : 0.0);
  }));
  img.Fill(stripe, Hex(0xe0489a));
  Mask podStripe = MinMask(pods, FieldMask(img, [](double u, double) { return Smooth(0.02, 0.0, dm::Abs(u - 1.05)); }));
  img.Fill(podStripe, Hex(0xe0489a));
  Canopy(img, 1.08, 0.5, 0.2, 0.075);
  Mask nozzles = ShapeMask(img, [](double u, double v) {
    return dm::Min(sdf::Box(u, v, 0.16, 0.43, 0.045, 0.035, 0.01), sdf::Box(u, v, 0.16, 0.57, 0.045, 0.035, 0.01));
  });
  img.Fill(nozzles, Hex(0x30364a));
  EngineGlow(img, 0.13, 0.43, 0.05, Hex(0xff7ad9));
  EngineGlow(img, 0.13, 0.57, 0.05, Hex(0xff7ad9));
}

// ----- ship 3: a saucer whose ring spins under a fixed cockpit --------------

void PaintShip3Back(Image& img) {
  Mask disc = ShapeMask(img, [](double u, double v) { return sdf::Circle(u, v, 0.5, 0.5, 0.47); });
  img.Fill(disc, [](double u, double v) {
    double r = dm::Len(u - 0.5, v - 0.5);
    Rgba c = MixRgba(Hex(0x9aa6bd), Hex(0xe6ebf5), Smooth(0.47, 0.36, r));
    return MixRgba(c, Hex(0x4d566c), Smooth(0.3, 0.26, r));
  });
  Mask panels = MinMask(disc, FieldMask(img, [](double u, double v) {
    double a = dm::Atan2(v - 0.5, u - 0.5);
    double r = dm::Len(u - 0.5, v - 0.5);
    double seg = dm::Abs(dm::Fract(a / dm::kTwoPi * 12) - 0.5);
    return Smooth(0.47, 0.45, seg) * Smooth(0.3, 0.32, r) + Smooth(0.008, 0.0, dm::Abs(r - 0.31));
  }));
  img.Fill(panels, Hex(0x3d455a), 0.8);
  Mask band = ShapeMask(img, [](double u, double v) { return sdf::Ring(u, v, 0.5, 0.5, 0.42, 0.012); });
  img.Fill(band, Hex(0x2fd6b8));
  Mask lights = img.NewMask();
  for (int i = 0; i < 12; ++i) {
    double a = i * dm::kTwoPi / 12 + 0.26;
    double cu = 0.5 + dm::Cos(a) * 0.385, cv = 0.5 + dm::Sin(a) * 0.385;
    lights = MaxMask(lights, ShapeMask(img, [=](double u, double v) { return sdf::Circle(u, v, cu, cv, 0.018); }));
  }
  img.AddLight(BlurMask(lights, img, 0.02), pal::kTeal, 1.0);
  img.Fill(lights, Hex(0xd6fff5));
  // One amber marker so the spin reads even at a glance.
  Mask marker = ShapeMask(img, [](double u, double v) { return sdf::Box(u, v, 0.5, 0.93, 0.05, 0.018, 0.01); });
  img.Fill(marker, pal::kAmber);
  Mask edge = ShapeMask(img, [](double u, double v) { return sdf::Ring(u, v, 0.5, 0.5, 0.463, 0.007); });
  img.Fill(edge, Hex(0x384058));
}

void PaintShip3Cover(Image& img) {
  // The cover is the only part that turns with the heading: a bright nose.
  Poly pointer = {0.93, 0.5, 0.66, 0.63, 0.6, 0.5, 0.66, 0.37};
  Mask arrow = PolyMask(img, pointer);
  img.AddLight(BlurMask(arrow, img, 0.025), pal::kAmber, 0.9);
  img.Fill(arrow, HullPaint(Hex(0xfff4dc), pal::kAmber, 0.12));
  Mask collar = ShapeMask(img, [](double u, double v) { return sdf::Circle(u, v, 0.5, 0.5, 0.25); });
  img.Fill(collar, Hex(0x525b72));
  Mask dome = ShapeMask(img, [](double u, double v) { return sdf::Circle(u, v, 0.5, 0.5, 0.215); });
  img.Fill(dome, [](double u, double v) {
    double t = Sat(dm::Len(u - 0.44, v - 0.56) / 0.26);
    return MixRgba(Hex(0xc8fff2), Hex(0x0c4a52), t);
  });
  Mask glint = ShapeMask(img, [](double u, double v) {
    return (dm::Len((u - 0.45) / 0.08, (v - 0.58) / 0.045) - 1.0) * 0.045;
  });
  img.Fill(glint, pal::kWhite, 0.8);
}

// ----- effects that follow the ship ------------------------------------------

// The flame sits on the ship's centre and is drawn over it, so it is
// transparent on the front 70 % and burns backwards from there.
void PaintFire(Image& img) {
  double asp = img.aspect;
  double start = asp * 0.31;
  Mask core = img.NewMask(), body = img.NewMask(), outer = img.NewMask();
  for (int y = 0; y < img.h; ++y) {
    for (int x = 0; x < img.w; ++x) {
      double u = img.U(x), v = img.V(y);
      double t = (start - u) / start;  // 0 at the nozzle, 1 at the tail
      double dv = dm::Abs(v - 0.5);
      double flick = 0.08 * noise::Fbm(u * 6, v * 3, 1501, 3);
      double lead = Smooth(-0.06, 0.02, t);
      double width = 0.34 * dm::Pow(Sat(1 - t), 0.7) + 0.02;
      double tail = Smooth(1.0, 0.5, t);
      outer.at(x, y) = static_cast<float>(lead * tail * Smooth(width * 1.25, width * 0.4, dv + flick * 0.3));
      body.at(x, y) = static_cast<float>(lead * Smooth(0.75, 0.2, t) * Smooth(width * 0.8, width * 0.2, dv + flick * 0.2));
      core.at(x, y) = static_cast<float>(lead * Smooth(0.35, 0.0, t) * Smooth(width * 0.35, 0.0, dv));
    }
  }
  img.AddLight(outer, Hex(0xff5a1e), 0.9);
  img.AddLight(body, Hex(0xffb347), 0.9);
  img.AddLight(core, Hex(0xfff6dc), 1.0);
}

void PaintShield(Image& img) {
  Mask fill = FieldMask(img, [](double u, double v) {
    double r = dm::Len(u - 0.5, v - 0.5) / 0.46;
    return r < 1.0 ? 0.1 + 0.45 * dm::Pow(r, 4) : 0.0;
  });
  Mask hex = FieldMask(img, [](double u, double v) {
    double r = dm::Len(u - 0.5, v - 0.5) / 0.46;
    double x = (u - 0.5) * 14, y = (v - 0.5) * 14;
    double gx = dm::Abs(dm::Fract(x + (static_cast<int>(dm::Floor(y)) % 2 == 0 ? 0.0 : 0.5)) - 0.5);
    double gy = dm::Abs(dm::Fract(y) - 0.5);
    double line = Smooth(0.06, 0.0, dm::Min(0.5 - gx, 0.5 - gy));
    return r < 1.0 ? line * 0.25 * dm::Pow(r, 2) : 0.0;
  });
  Mask ring = ShapeMask(img, [](double u, double v) { return sdf::Ring(u, v, 0.5, 0.5, 0.455, 0.012); });
  img.Fill(fill, Hex(0x7fe3ff));
  img.AddLight(hex, Hex(0xbff3ff), 1.0);
  img.AddLight(BlurMask(ring, img, 0.02), pal::kCyan, 1.0);
  img.Fill(ring, Hex(0xe6fbff));
}

// Ship 2's bolt. Its quad is turned a quarter past the heading, so the top
// of the picture trails behind the shot.
void PaintBullet(Image& img) {
  double asp = img.aspect;
  Mask glow = FieldMask(img, [=](double u, double v) {
    double du = (u - asp * 0.5) / (asp * 0.5);
    double t = Sat((v - 0.2) / 0.75);
    return dm::Exp(-du * du * 4) * Smooth(0.05, 0.22, v) * (1 - t);
  });
  Mask core = FieldMask(img, [=](double u, double v) {
    double du = (u - asp * 0.5) / (asp * 0.5);
    double t = Sat((v - 0.25) / 0.5);
    return dm::Exp(-du * du * 30) * Smooth(0.12, 0.24, v) * (1 - t * t);
  });
  img.AddLight(glow, Hex(0xff5fd2), 1.0);
  img.AddLight(core, Hex(0xfff0ff), 1.0);
}

void PaintWind(Image& img) {
  Mask m = FieldMask(img, [](double u, double v) {
    double px = u - 0.5, py = v - 0.5;
    double r = dm::Len(px, py) / 0.47;
    double a = dm::Atan2(py, px);
    double swirl = 0.5 + 0.5 * dm::Sin(a * 5 + r * 9);
    double shell = dm::Exp(-(r - 0.85) * (r - 0.85) / 0.012);
    double inner = dm::Exp(-(r - 0.55) * (r - 0.55) / 0.02) * 0.45;
    return (shell + inner * swirl) * Smooth(1.0, 0.93, r) + 0.12 * Smooth(1.0, 0.2, r);
  });
  img.AddLight(m, Hex(0x8dffd8), 1.0);
  Mask bright = FieldMask(img, [](double u, double v) {
    double r = dm::Len(u - 0.5, v - 0.5) / 0.47;
    return dm::Exp(-(r - 0.86) * (r - 0.86) / 0.002);
  });
  img.AddLight(bright, pal::kWhite, 0.8);
}

// ----- fuel gauge -----------------------------------------------------------

// The bar is cropped from the right as fuel drops, so its left end carries
// the "low" colour and the full bar ends in cool cyan.
void PaintFuelFull(Image& img) {
  double asp = img.aspect;
  Mask bar = ShapeMask(img, [=](double u, double v) { return sdf::Box(u, v, asp * 0.5, 0.5, asp * 0.5, 0.5, 0.12); });
  img.Fill(bar, [=](double u, double v) {
    double t = u / asp;
    Rgba c = t < 0.5 ? MixRgba(Hex(0xff6a3d), Hex(0xffd24a), t / 0.5) : MixRgba(Hex(0xffd24a), Hex(0x49f0ff), (t - 0.5) / 0.5);
    double gloss = Smooth(0.5, 0.9, v) * 0.45;
    c = MixRgba(c, pal::kWhite, gloss);
    return Scale(c, 0.75 + 0.25 * Smooth(0.0, 0.35, v));
  });
  Mask ticks = MinMask(bar, FieldMask(img, [=](double u, double) {
    double t = dm::Fract(u / asp * 20);
    return Smooth(0.06, 0.02, dm::Min(t, 1 - t)) * 0.5;
  }));
  img.Fill(ticks, Hex(0x1a1030), 0.5);
}

void PaintFuelEmpty(Image& img) {
  double asp = img.aspect;
  double hw = asp * 0.5 - 0.035, hh = 0.46;
  auto shape = [=](double u, double v) { return ChamferBox(u, v, asp * 0.5, 0.5, hw, hh, 0.18); };
  Mask body = ShapeMask(img, shape);
  img.Fill(body, VGradient(Hex(0x050a1c), Hex(0x121c40)), 0.85);
  Mask trough = ShapeMask(img, [=](double u, double v) {
    return sdf::Box(u, v, asp * 0.5, 0.5, asp * 0.5 * 285.0 / 300.0, 0.5 * 24.0 / 40.0, 0.06);
  });
  img.Fill(trough, Hex(0x02040c), 0.8);
  Mask rim = ShapeMask(img, [=](double u, double v) { return dm::Abs(shape(u, v) + 0.03) - 0.03; });
  img.AddLight(BlurMask(rim, img, 0.04), pal::kCyan, 0.6);
  img.Fill(rim, Hex(0x9ff2ff));
}


// ----- the desktop icon: ship 1 climbing out of the black hole's glow -------

// Bilinear sample of a premultiplied picture at pixel coordinates.
void SampleInto(const Image& src, double px, double py, float* out) {
  int x0 = static_cast<int>(dm::Floor(px)), y0 = static_cast<int>(dm::Floor(py));
  double fx = px - x0, fy = py - y0;
  for (int c = 0; c < 4; ++c) out[c] = 0.f;
  for (int j = 0; j < 2; ++j)
    for (int i = 0; i < 2; ++i) {
      int x = x0 + i, y = y0 + j;
      if (x < 0 || y < 0 || x >= src.w || y >= src.h) continue;
      double w = (i ? fx : 1.0 - fx) * (j ? fy : 1.0 - fy);
      const float* p = src.At(x, y);
      for (int c = 0; c < 4; ++c) out[c] += static_cast<float>(p[c] * w);
    }
}

void PaintIcon(Image& icon) {
  Mask tile = ShapeMask(icon, [](double u, double v) { return sdf::Box(u, v, 0.5, 0.5, 0.47, 0.47, 0.13); });
  icon.Fill(tile, VGradient(Hex(0x1b0a33), Hex(0x071a3a)));
  // A few stars, the same every run.
  Mask stars = icon.NewMask();
  for (int k = 0; k < 18; ++k) {
    double su = 0.1 + 0.8 * ((Hash3(k, 1, 7, 0x1C0Du) & 0xFFFF) / 65536.0);
    double sv = 0.35 + 0.6 * ((Hash3(k, 2, 7, 0x1C0Du) & 0xFFFF) / 65536.0);
    double r = 0.004 + 0.006 * ((Hash3(k, 3, 7, 0x1C0Du) & 0xFF) / 256.0);
    stars = MaxMask(stars, ShapeMask(icon, [=](double u, double v) { return sdf::Circle(u, v, su, sv, r); }));
  }
  icon.AddLight(MinMask(stars, tile), Hex(0xdde8ff), 0.9);
  // The black hole's rim glowing below.
  Mask hole = ShapeMask(icon, [](double u, double v) { return sdf::Circle(u, v, 0.5, -0.32, 0.52); });
  Mask rim = BlurMask(ShapeMask(icon, [](double u, double v) { return sdf::Ring(u, v, 0.5, -0.32, 0.53, 0.02); }),
                      icon, 0.035);
  icon.AddLight(MinMask(rim, tile), Hex(0xff7a3a), 1.2);
  icon.Fill(MinMask(hole, tile), Hex(0x05020c));
  // The flame and the ship, nose up.
  Mask flame = BlurMask(ShapeMask(icon, [](double u, double v) { return sdf::Segment(u, v, 0.5, 0.2, 0.5, 0.3, 0.03); }),
                        icon, 0.02);
  icon.AddLight(MinMask(flame, tile), Hex(0xffb347), 1.0);
  Image ship(512, 256);
  PaintShip1(ship, false);
  const double length = 0.74, k = 2.0 / length;  // ship units per icon unit
  for (int y = 0; y < icon.h; ++y)
    for (int x = 0; x < icon.w; ++x) {
      double u = icon.U(x), v = icon.V(y);
      double su = 1.0 + (v - 0.56) * k, sv = 0.5 - (u - 0.5) * k;
      float s[4];
      SampleInto(ship, su / 2.0 * ship.w - 0.5, sv * ship.h - 0.5, s);
      float* d = icon.At(x, y);
      for (int c = 0; c < 4; ++c) d[c] = s[c] + d[c] * (1.f - s[3]);
    }
}

}  // namespace

void AddShipImages(AssetList& out) {
  for (int size : {64, 128, 256})
    out.push_back({"Icons/kelvaro-" + std::to_string(size) + ".png", [size]() {
                     Image icon(size, size);
                     PaintIcon(icon);
                     return EncodePng(icon);
                   }});
  out.push_back({"Graphic_Assets/WindowIcon.bmp", []() {
                   Image icon(64, 64);
                   PaintIcon(icon);
                   return EncodeBmp(icon);
                 }});
  AddPicture(out, "Graphic_Assets/SpaceShip/ship1.tga", 512, 256, 0, true, [](Image& i) { PaintShip1(i, false); });
  AddPicture(out, "Graphic_Assets/SpaceShip/ship1af.tga", 64, 32, 0, true, [](Image& i) { PaintShip1(i, true); });
  AddPicture(out, "Graphic_Assets/SpaceShip/ship2.tga", 256, 128, 0, true, PaintShip2);
  AddPicture(out, "Graphic_Assets/SpaceShip/ship3back.tga", 256, 256, 0, true, PaintShip3Back);
  AddPicture(out, "Graphic_Assets/SpaceShip/ship3.tga", 256, 256, 0, true, PaintShip3Cover);
  AddPicture(out, "Graphic_Assets/SpaceShip/ultimateship3.tga", 256, 256, 0, true, [](Image& i) {
    PaintShip3Back(i);
    PaintShip3Cover(i);
  });
  AddPicture(out, "Graphic_Assets/SpaceShip/fire.tga", 256, 64, 4.4, true, PaintFire);
  AddPicture(out, "Graphic_Assets/SpaceShip/shield.tga", 128, 128, 0, true, PaintShield);
  AddPicture(out, "Graphic_Assets/SpaceShip/bullet.tga", 32, 64, 0, true, PaintBullet);
  AddPicture(out, "Graphic_Assets/SpaceShip/wind.tga", 256, 256, 0, true, PaintWind);
  AddPicture(out, "Graphic_Assets/SpaceShip/fuelfull.tga", 256, 16, 285.0 / 24.0, true, PaintFuelFull);
  AddPicture(out, "Graphic_Assets/SpaceShip/fuelempty.tga", 256, 32, 300.0 / 40.0, true, PaintFuelEmpty);
}
