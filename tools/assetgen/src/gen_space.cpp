// gen_space.cpp -- everything out in space: the tiled star field, nebulae,
// star clusters, the black hole, the warp, planets, asteroids, satellites,
// fuel, and the short-lived particles.
#include <algorithm>
#include <vector>

#include "assets.h"
#include "dmath.h"
#include "rng.h"
#include "style.h"

namespace {

using dm::Mix;
using dm::Sat;
using dm::Smooth;

// ----- small helpers --------------------------------------------------------

struct Vec3 {
  double x, y, z;
};
Vec3 Norm(Vec3 v) {
  double l = dm::Sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  return l > 0 ? Vec3{v.x / l, v.y / l, v.z / l} : Vec3{0, 0, 1};
}
double Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

void Put(Image& img, int x, int y, const Rgba& c) {
  float* p = img.At(x, y);
  p[0] = static_cast<float>(c.r * c.a);
  p[1] = static_cast<float>(c.g * c.a);
  p[2] = static_cast<float>(c.b * c.a);
  p[3] = static_cast<float>(c.a);
}

// Adds a soft round dot of light, wrapping across the edges when wrap is set.
void LightDot(Image& img, double u, double v, double sigma, const Rgba& c, double gain, bool wrap) {
  double reach = sigma * 3.2;
  int x0 = img.ToX(u - reach) - 1, x1 = img.ToX(u + reach) + 1;
  int y0 = img.ToY(v - reach) - 1, y1 = img.ToY(v + reach) + 1;
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      int xx = x, yy = y;
      if (wrap) {
        xx = ((x % img.w) + img.w) % img.w;
        yy = ((y % img.h) + img.h) % img.h;
      } else if (x < 0 || y < 0 || x >= img.w || y >= img.h) {
        continue;
      }
      double du = (x + 0.5) * img.PixU() - u, dv = (y + 0.5) * img.PixV() - v;
      double k = gain * dm::Exp(-(du * du + dv * dv) / (2 * sigma * sigma));
      if (k < 1e-4) continue;
      float* p = img.At(xx, yy);
      p[0] = static_cast<float>(p[0] + c.r * k);
      p[1] = static_cast<float>(p[1] + c.g * k);
      p[2] = static_cast<float>(p[2] + c.b * k);
      p[3] = static_cast<float>(p[3] + (1 - p[3]) * Sat(k));
    }
  }
}

Rgba StarColour(Rng& rng) {
  double t = rng.Unit();
  if (t < 0.45) return Hex(0xdfe9ff);
  if (t < 0.75) return Hex(0xa9c4ff);
  if (t < 0.92) return Hex(0xfff1d6);
  return Hex(0xffc9a0);
}

// Four thin rays, the diffraction cross of a bright star.
void StarSpikes(Image& img, double u, double v, double len, const Rgba& c, double gain) {
  Mask m = img.NewMask();
  int x0 = img.ToX(u - len) - 1, x1 = img.ToX(u + len) + 1, y0 = img.ToY(v - len) - 1, y1 = img.ToY(v + len) + 1;
  double thin = 0.6 * img.PixV();
  for (int y = y0 < 0 ? 0 : y0; y <= y1 && y < img.h; ++y) {
    for (int x = x0 < 0 ? 0 : x0; x <= x1 && x < img.w; ++x) {
      double du = dm::Abs(img.U(x) - u), dv = dm::Abs(img.V(y) - v);
      double a = dm::Exp(-dv * dv / (2 * thin * thin)) * Sat(1 - du / len);
      double b = dm::Exp(-du * du / (2 * thin * thin)) * Sat(1 - dv / len);
      m.at(x, y) = static_cast<float>(Sat((a * a + b * b) * gain));
    }
  }
  img.AddLight(m, c, 1.0);
}

// ----- background -----------------------------------------------------------

// The play field's tile. Laid edge to edge (one unit of overlap), so the
// dust wraps exactly and no star sits on the border strip.
void PaintBackground(Image& img) {
  const Rgba ink = Hex(0x04071a);
  const Rgba violet = Hex(0x3b1d6e);
  const Rgba teal = Hex(0x0d3f57);
  const Rgba rose = Hex(0x4a1640);
  for (int y = 0; y < img.h; ++y) {
    for (int x = 0; x < img.w; ++x) {
      double u = img.U(x), v = img.V(y);
      double d1 = noise::Fbm(u * 3, v * 3, 11, 6, 0.55, 3, 3);
      double d2 = noise::Fbm(u * 4 + 1.7, v * 4 + 2.3, 23, 5, 0.5, 4, 4);
      double d3 = noise::Ridged(u * 2, v * 2, 31, 5, 2, 2);
      double a1 = Smooth(-0.05, 0.75, d1);
      double a2 = Smooth(0.0, 0.8, d2);
      double a3 = Smooth(0.55, 0.95, d3) * a1;
      Rgba c = ink;
      c = MixRgba(c, violet, a1 * a1 * 0.55);
      c = MixRgba(c, teal, a2 * a2 * 0.45);
      c = MixRgba(c, rose, a3 * 0.35);
      c.a = 1.0;
      Put(img, x, y, c);
    }
  }
  Rng rng(0x5EED0001);
  double pix = img.PixV();
  auto place = [&](double margin, double* u, double* v) {
    *u = rng.Range(margin, 1.0 - margin);
    *v = rng.Range(margin, 1.0 - margin);
  };
  for (int i = 0; i < 1500; ++i) {
    double u, v;
    place(pix * 4, &u, &v);
    // One draw per statement: argument evaluation order is up to the compiler.
    double sigma = pix * rng.Range(0.45, 0.7);
    Rgba c = StarColour(rng);
    double gain = rng.Range(0.15, 0.6);
    LightDot(img, u, v, sigma, c, gain, false);
  }
  for (int i = 0; i < 110; ++i) {
    double u, v;
    place(pix * 8, &u, &v);
    Rgba c = StarColour(rng);
    double sigma = pix * rng.Range(0.8, 1.2);
    double gain = rng.Range(0.6, 1.0);
    LightDot(img, u, v, sigma, c, gain, false);
    LightDot(img, u, v, pix * 3.0, c, 0.06, false);
  }
  // Only a few bright stars, and soft ones: the tile repeats every 200
  // units, and a distinctive star would give the repetition away.
  for (int i = 0; i < 4; ++i) {
    double u, v;
    place(pix * 20, &u, &v);
    Rgba c = StarColour(rng);
    double len = pix * rng.Range(5, 8);
    LightDot(img, u, v, pix * 1.2, pal::kWhite, 0.9, false);
    LightDot(img, u, v, pix * 4.0, c, 0.12, false);
    StarSpikes(img, u, v, len, c, 0.35);
  }
}

// ----- nebulae and clusters -------------------------------------------------

struct NebulaLook {
  uint32_t seed;
  Rgba edge, body, core, filament;
  double density;  // overall fill
};

void PaintNebula(Image& img, const NebulaLook& n) {
  for (int y = 0; y < img.h; ++y) {
    for (int x = 0; x < img.w; ++x) {
      double px = (img.U(x) - 0.5) * 2, py = (img.V(y) - 0.5) * 2;
      double qx = noise::Fbm(px * 1.4 + 3.1, py * 1.4 + 7.7, n.seed, 4);
      double qy = noise::Fbm(px * 1.4 - 5.3, py * 1.4 + 1.9, n.seed + 1, 4);
      double d = noise::Fbm(px * 2.0 + qx * 1.3, py * 2.0 + qy * 1.3, n.seed + 2, 6) * 0.5 + 0.5;
      double fil = noise::Ridged(px * 2.6 + qx, py * 2.6 + qy, n.seed + 3, 5);
      double r = dm::Len(px, py) * (1.0 + 0.35 * noise::Fbm(px * 1.2, py * 1.2, n.seed + 4, 3));
      double fall = Sat(1.0 - r * r);
      fall = fall * fall;
      double dens = Smooth(0.32 - n.density * 0.1, 0.8, d) * fall;
      double filA = Smooth(0.55, 0.95, fil) * fall * 0.8;
      Rgba c = MixRgba(n.edge, n.body, Smooth(0.3, 0.75, d));
      c = MixRgba(c, n.core, Smooth(0.6, 0.95, d) * fall);
      c = MixRgba(c, n.filament, filA * 0.7);
      double a = Sat(dens * 0.95 + filA * 0.35);
      c.a = a * 0.92;
      Put(img, x, y, c);
    }
  }
  Rng rng(n.seed * 7 + 1);
  for (int i = 0; i < 26; ++i) {
    double u = rng.Range(0.25, 0.75), v = rng.Range(0.25, 0.75);
    double sigma = img.PixV() * rng.Range(0.7, 1.4);
    double gain = rng.Range(0.5, 1.0);
    LightDot(img, u, v, sigma, pal::kWhite, gain, false);
    LightDot(img, u, v, img.PixV() * 5, n.core, 0.12, false);
  }
}

void PaintCluster(Image& img, uint32_t seed, const Rgba& tint, double spread, int count) {
  Rng rng(seed);
  Mask halo = FieldMask(img, [&](double u, double v) {
    double r = dm::Len(u - 0.5, v - 0.5);
    return 0.55 * dm::Exp(-r * r / (2 * spread * spread * 0.5));
  });
  img.AddLight(halo, Scale(tint, 0.6), 0.7);
  for (int i = 0; i < count; ++i) {
    double u = 0.5 + rng.Gauss() * spread, v = 0.5 + rng.Gauss() * spread;
    double r = dm::Len(u - 0.5, v - 0.5);
    if (r > 0.45) continue;
    Rgba c = MixRgba(StarColour(rng), tint, 0.35);
    double g = rng.Range(0.35, 1.0) * (1.0 - r * 1.5);
    LightDot(img, u, v, img.PixV() * rng.Range(0.6, 1.3), c, g, false);
  }
  for (int i = 0; i < 5; ++i) {
    double u = 0.5 + rng.Gauss() * spread * 0.7, v = 0.5 + rng.Gauss() * spread * 0.7;
    LightDot(img, u, v, img.PixV() * 1.6, pal::kWhite, 1.0, false);
    LightDot(img, u, v, img.PixV() * 5, tint, 0.15, false);
  }
  // Fade the square's edge to nothing: clusters spin and must stay round.
  Mask round = FieldMask(img, [](double u, double v) { return Smooth(0.5, 0.36, dm::Len(u - 0.5, v - 0.5)); });
  img.MultiplyAlpha(round);
}

// ----- black hole and warp --------------------------------------------------

// The band that creeps up from below: a glowing front across the middle,
// darkness thickening to opaque below it, clear space above. The game
// draws the picture's centre three times the real distance below the chase
// line, so with the front a little above half height the darkness reaches
// the ship shortly before the catch, and the front enters the view from
// below soon after the warning starts to blink. In the main menu the same picture lies
// on its side as the strip under the help text.
void PaintBlackHole(Image& img) {
  double asp = img.aspect;
  for (int y = 0; y < img.h; ++y) {
    for (int x = 0; x < img.w; ++x) {
      double u = img.U(x), v = img.V(y);
      double s = u / asp;
      double front = 0.56 + 0.03 * noise::Fbm(s * 2.5, 0.5, 901, 3) + 0.012 * noise::Fbm(s * 9, 2.5, 902, 3);
      double t = v - front;
      // Matter streaming sideways into the hole: bands stretched along the front.
      double warp = 0.5 * noise::Fbm(s * 2, v * 3, 903, 3);
      double swirl = noise::Fbm(s * 3 + warp, v * 16, 904, 5) * 0.5 + 0.5;
      double depth = dm::Max(0.0, -t);
      // The dark body: clear above the front, thickening to opaque below.
      double dark = Smooth(0.012, -0.045, t) * (0.88 + 0.12 * Smooth(0.0, 0.3, depth));
      double band = dm::Exp(-depth / 0.1);
      Rgba body = MixRgba(Hex(0x05010c), Hex(0x4a1578), band * Smooth(0.4, 0.95, swirl) * 0.9);
      body = MixRgba(body, Hex(0x12041f), (1 - band) * Smooth(0.5, 0.8, swirl) * 0.5);
      Rgba c = body;
      c.a = dark;
      // Light: a hot rim on the front and a violet haze rising above it.
      double above = dm::Max(0.0, t);
      double haze = dm::Exp(-above / 0.05) * Smooth(-0.06, 0.0, t) * (0.75 + 0.25 * swirl);
      double rim = dm::Exp(-(t / 0.0055) * (t / 0.0055)) * (0.6 + 0.4 * swirl);
      double inner = dm::Exp(-depth / 0.03) * Smooth(0.0, -0.005, t) * Smooth(0.45, 0.9, swirl);
      Rgba light = {0, 0, 0, 0};
      auto add = [&](const Rgba& col, double k) {
        light.r += col.r * k;
        light.g += col.g * k;
        light.b += col.b * k;
        light.a = light.a + (1 - light.a) * Sat(k);
      };
      add(Hex(0x7a2fc0), haze * 0.55);
      add(Hex(0xff7a3c), rim * 0.75 + inner * 0.35);
      add(Hex(0xffe6c8), rim * rim * 0.35);
      // Light over the body (premultiplied add).
      double a = c.a + light.a * (1 - c.a);
      double pr = c.r * c.a + light.r, pg = c.g * c.a + light.g, pb = c.b * c.a + light.b;
      Rgba out{0, 0, 0, Sat(a)};
      if (out.a > 1e-6) out = {pr / out.a, pg / out.a, pb / out.a, out.a};
      Put(img, x, y, out);
    }
  }
  // Specks of matter falling in, just above the front.
  Rng rng(906);
  Mask m = img.NewMask();
  for (int i = 0; i < 36; ++i) {
    double u = rng.Range(0.01, asp - 0.01);
    double v0 = 0.57 + rng.Range(0.0, 0.12);
    double len = rng.Range(0.015, 0.045);
    double k = rng.Range(0.25, 0.7);
    Mask s = ShapeMask(img, [=](double uu, double vv) { return sdf::Segment(uu, vv, u, v0, u, v0 + len, 0.0012); },
                       u - 0.01, v0 - 0.01, u + 0.01, v0 + len + 0.01);
    for (size_t q = 0; q < s.m.size(); ++q) m.m[q] = std::max(m.m[q], s.m[q] * static_cast<float>(k));
  }
  img.AddLight(BlurMask(m, img, 0.002), Hex(0xffc7f0), 0.7);
  // Else the hole's top edge shows as a thin purple line across the whole
  // view; its bottom edge is never on screen in play.
  img.ClearBottomRow();
}

void PaintWarp(Image& img, bool front) {
  Rng rng(front ? 1201 : 1202);
  double asp = img.aspect;
  Mask light = img.NewMask(), tint = img.NewMask();
  int count = front ? 110 : 70;
  for (int i = 0; i < count; ++i) {
    double u = rng.Range(0.01, asp - 0.01);
    double v0, len;
    if (front) {
      v0 = 0.12 + rng.Range(-0.02, 0.03);
      len = rng.Range(0.25, 0.85);
    } else {
      v0 = rng.Range(-0.1, 0.9);
      len = rng.Range(0.15, 0.6);
    }
    // The picture is stretched about three times across: keep streaks a
    // texel or less wide so they stay lines, not curtains.
    double width = img.PixU() * rng.Range(0.35, 0.8);
    double bright = rng.Range(0.25, 1.0);
    bool violet = rng.Unit() < 0.3;
    int x0 = img.ToX(u - width * 4) - 1, x1 = img.ToX(u + width * 4) + 1;
    for (int y = 0; y < img.h; ++y) {
      double v = img.V(y);
      double t = (v - v0) / len;
      if (t < 0 || t > 1) continue;
      // Bright head at the bottom (the streaks fall), long fading tail.
      double along = front ? dm::Pow(1 - t, 1.6) : dm::Sin(dm::kPi * t) * dm::Pow(1 - t, 0.6);
      for (int x = x0 < 0 ? 0 : x0; x <= x1 && x < img.w; ++x) {
        double du = img.U(x) - u;
        double k = bright * along * (dm::Exp(-du * du / (2 * width * width)) + 0.12 * dm::Exp(-du * du / (18 * width * width)));
        Mask& dst = violet ? tint : light;
        float& p = dst.at(x, y);
        p = static_cast<float>(Sat(p + k));
      }
    }
  }
  img.AddLight(light, Hex(0xc9f6ff), 1.0);
  img.AddLight(tint, Hex(0xd59cff), 1.0);
  if (front) {
    Mask band = FieldMask(img, [](double, double v) {
      double d = (v - 0.12) / 0.035;
      return dm::Exp(-d * d) + 0.35 * dm::Exp(-dm::Abs(v - 0.12) / 0.12);
    });
    img.AddLight(band, Hex(0xe8fbff), 1.0);
  }
}

void PaintQuest(Image& img) {
  Mask ring = ShapeMask(img, [](double u, double v) { return sdf::Ring(u, v, 0.5, 0.5, 0.33, 0.022); });
  Mask ticks = ShapeMask(img, [](double u, double v) {
    double best = 1e9;
    for (int i = 0; i < 4; ++i) {
      double a = i * dm::kHalfPi;
      double ca = dm::Cos(a), sa = dm::Sin(a);
      // A chevron pointing at the centre, outside the ring.
      double tip = 0.39, base = 0.47, half = 0.07;
      std::vector<double> tri = {0.5 + ca * tip, 0.5 + sa * tip,
                                 0.5 + ca * base - sa * half, 0.5 + sa * base + ca * half,
                                 0.5 + ca * base + sa * half, 0.5 + sa * base - ca * half};
      best = dm::Min(best, sdf::Polygon(u, v, tri));
    }
    return best;
  });
  Mask inner = FieldMask(img, [](double u, double v) {
    double r = dm::Len(u - 0.5, v - 0.5);
    return 0.35 * Smooth(0.0, 0.31, r) * Smooth(0.33, 0.28, r);
  });
  Mask dot = ShapeMask(img, [](double u, double v) { return sdf::Circle(u, v, 0.5, 0.5, 0.045); });
  img.Fill(inner, pal::kAmber);
  img.AddLight(BlurMask(MaxMask(ring, ticks), img, 0.03), pal::kAmber, 1.0);
  img.Fill(ring, Hex(0xffd595));
  img.Fill(ticks, Hex(0xfff0d0));
  img.AddLight(BlurMask(dot, img, 0.03), pal::kAmber, 1.0);
  img.Fill(dot, pal::kWhite);
}

// ----- planets --------------------------------------------------------------

// Spawned planets are drawn at a random rotation, so they are lit almost
// from the viewer (a sun off to one side would turn with each sprite); only
// the home earth, which is never turned, gets a real day side.
struct PlanetLook {
  std::function<Rgba(Vec3 p)> surface;      // albedo at a point of the unit sphere
  std::function<double(Vec3 p)> height;     // relief for shading (0 = smooth)
  Vec3 light{-0.25, 0.3, 0.92};
  double ambient = 0.12;
  Rgba atmosphere = Hex(0x8fd6ff);
  double atmosphereWidth = 0.0;  // outside the disc, in radii
  double radius = 0.47;
  bool ghost = false;            // light grey: the debris puff the game tints orange
};

void PaintPlanet(Image& img, const PlanetLook& look) {
  Vec3 L = Norm(look.light);
  double rPx = look.radius / img.PixV();
  double eps = 1.0 / rPx;
  for (int y = 0; y < img.h; ++y) {
    for (int x = 0; x < img.w; ++x) {
      double px = (img.U(x) - 0.5) / look.radius, py = (img.V(y) - 0.5) / look.radius;
      double r = dm::Len(px, py);
      Rgba out{0, 0, 0, 0};
      if (r < 1.0 + eps) {
        double rr = dm::Min(r, 0.9999);
        double z = dm::Sqrt(1 - rr * rr);
        Vec3 p{px, py, z};
        Vec3 n = p;
        if (look.height) {
          double h0 = look.height(p);
          Vec3 pxv = Norm({px + eps, py, dm::Sqrt(dm::Max(0.0, 1 - (px + eps) * (px + eps) - py * py))});
          Vec3 pyv = Norm({px, py + eps, dm::Sqrt(dm::Max(0.0, 1 - px * px - (py + eps) * (py + eps)))});
          double gx = (look.height(pxv) - h0) / eps, gy = (look.height(pyv) - h0) / eps;
          n = Norm({n.x - gx * 0.5, n.y - gy * 0.5, n.z});
        }
        double lambert = Dot(n, L);
        double lit = look.ambient + (1 - look.ambient) * Smooth(-0.12, 0.55, lambert) * (0.55 + 0.45 * Sat(lambert));
        double limb = 0.55 + 0.45 * dm::Pow(z, 0.35);
        Rgba alb = look.surface(p);
        if (look.ghost) {
          double lum = 0.3 * alb.r + 0.55 * alb.g + 0.15 * alb.b;
          double g = 0.7 + 0.3 * Sat(lit * limb * (0.6 + lum));
          out = {g, g, g * 1.02, 1};
        } else {
          out = Scale(alb, lit * limb);
          // Scattered light near the limb on the lit side.
          double scatter = dm::Pow(1 - z, 2.5) * Sat(0.3 + lambert);
          out = MixRgba(out, look.atmosphere, Sat(scatter * (look.atmosphereWidth > 0 ? 0.9 : 0.25)));
          out.a = 1.0;
        }
        out.a = Sat((1.0 - r) * rPx + 0.5);
      }
      if (look.atmosphereWidth > 0 && r > 1.0 - eps && !look.ghost) {
        double t = (r - 1.0) / look.atmosphereWidth;
        if (t < 1.0) {
          double sideLit = Sat(0.35 + 0.9 * (px * L.x + py * L.y) / dm::Max(r, 1e-6));
          double g = dm::Pow(Sat(1 - t), 2.2) * (0.25 + 0.75 * sideLit);
          Rgba glow = WithAlpha(look.atmosphere, g * 0.85);
          // Under the disc's soft edge pixel, over elsewhere.
          double a = out.a + glow.a * (1 - out.a);
          if (a > 0) {
            out = {(out.r * out.a + glow.r * glow.a * (1 - out.a)) / a, (out.g * out.a + glow.g * glow.a * (1 - out.a)) / a,
                   (out.b * out.a + glow.b * glow.a * (1 - out.a)) / a, a};
          }
        }
      }
      Put(img, x, y, out);
    }
  }
}

double Craters(double u, double v, uint32_t seed, double scale, double depth) {
  uint32_t id;
  double d = noise::Cellular(u * scale, v * scale, seed, &id);
  double rc = 0.18 + 0.3 * ((id >> 8) & 255) / 255.0;
  if ((id & 7u) < 3u) return 0.0;  // not every cell holds a crater
  double t = d / rc;
  if (t < 1.0) return depth * (t * t - 1.0) + depth * 0.25 * Smooth(0.7, 1.0, t);
  return depth * 0.25 * Smooth(1.5, 1.0, t);
}

PlanetLook EarthLook() {
  PlanetLook l;
  l.surface = [](Vec3 p) {
    double n = noise::Fbm3(p.x * 1.5 + 4, p.y * 1.5, p.z * 1.5, 401, 6);
    double dry = noise::Fbm3(p.x * 3, p.y * 3, p.z * 3 + 9, 402, 4);
    double lat = dm::Abs(p.y);
    Rgba ocean = MixRgba(Hex(0x0a2a6e), Hex(0x1b6fa8), Smooth(-0.15, 0.08, n));
    Rgba land = MixRgba(Hex(0x2f6b2a), Hex(0x9c8450), Smooth(-0.1, 0.35, dry + (0.3 - lat) * 0.4));
    land = MixRgba(land, Hex(0x5e7d3a), Smooth(0.2, 0.5, n) * 0.5);
    Rgba c = MixRgba(ocean, land, Smooth(0.07, 0.11, n));
    c = MixRgba(c, Hex(0xf4f8ff), Smooth(0.78, 0.86, lat + 0.05 * n));
    double cl = noise::Fbm3(p.x * 2.2 + 0.8 * n, p.y * 4.0, p.z * 2.2, 403, 6);
    c = MixRgba(c, Hex(0xffffff), Smooth(0.05, 0.45, cl) * 0.9);
    return c;
  };
  l.light = {-0.45, 0.62, 0.64};
  l.ambient = 0.05;
  l.atmosphere = Hex(0x7cc8ff);
  l.atmosphereWidth = 0.06;
  l.radius = 0.45;
  return l;
}

PlanetLook MoonLook(bool ghost) {
  PlanetLook l;
  l.surface = [](Vec3 p) {
    double mare = noise::Fbm3(p.x * 1.3, p.y * 1.3, p.z * 1.3, 501, 5);
    double fine = noise::Fbm3(p.x * 8, p.y * 8, p.z * 8, 502, 3);
    Rgba c = MixRgba(Hex(0xc9c7c2), Hex(0x77777a), Smooth(0.0, 0.3, mare));
    return Scale(c, 0.92 + 0.12 * fine);
  };
  l.height = [](Vec3 p) {
    return Craters(p.x * 1.0, p.y * 1.0, 503, 4.0, 0.05) + Craters(p.x + 3, p.y + 1, 504, 9.0, 0.02);
  };
  l.atmosphere = Hex(0xdfe6ff);
  l.ghost = ghost;
  return l;
}

PlanetLook MarsLook() {
  PlanetLook l;
  l.surface = [](Vec3 p) {
    double n = noise::Fbm3(p.x * 1.6, p.y * 1.6, p.z * 1.6, 601, 6);
    double ridge = noise::Fbm3(p.x * 5, p.y * 5, p.z * 5, 602, 3);
    Rgba c = MixRgba(Hex(0xd0693a), Hex(0x6a2a18), Smooth(0.0, 0.35, n));
    c = MixRgba(c, Hex(0xe8a070), Smooth(0.2, 0.6, ridge) * 0.35);
    c = MixRgba(c, Hex(0xfff4ee), Smooth(0.86, 0.9, p.y + 0.03 * n));
    return c;
  };
  l.height = [](Vec3 p) { return Craters(p.x, p.y, 603, 5.0, 0.025); };
  l.atmosphere = Hex(0xffb08a);
  l.atmosphereWidth = 0.035;
  l.radius = 0.46;
  return l;
}

PlanetLook UranusLook() {
  PlanetLook l;
  l.surface = [](Vec3 p) {
    double w = noise::Fbm3(p.x * 2, p.y * 2, p.z * 2, 701, 4);
    double band = dm::Sin(p.y * 14 + w * 1.5) * 0.5 + 0.5;
    Rgba c = MixRgba(Hex(0x7fd3dc), Hex(0xa9eef0), band * 0.5);
    c = MixRgba(c, Hex(0x5fb3c8), Smooth(0.55, 0.9, dm::Abs(p.y)) * 0.6);
    return c;
  };
  l.atmosphere = Hex(0xc8fbff);
  l.atmosphereWidth = 0.045;
  l.radius = 0.455;
  l.ambient = 0.2;
  return l;
}

// ----- asteroids ------------------------------------------------------------

struct RockLook {
  uint32_t seed;
  double stretchX, stretchY;  // ellipsoid shape
  double rough;               // outline wobble
  Rgba base, dark;
  double craterScale;
  bool ghost = false;
};

void PaintRock(Image& img, const RockLook& k) {
  const double R = 0.44;
  Vec3 L = Norm({-0.5, 0.55, 0.67});
  auto radiusAt = [&](double ang) {
    double c = dm::Cos(ang), s = dm::Sin(ang);
    return 1.0 + k.rough * noise::Fbm(c * 1.3 + 10, s * 1.3 + 10, k.seed, 4) + 0.05 * noise::Perlin(c * 4 + 3, s * 4, k.seed + 9);
  };
  auto height = [&](double px, double py, double* inside) {
    double qx = px / k.stretchX, qy = py / k.stretchY;
    double ang = dm::Atan2(qy, qx);
    double rr = dm::Len(qx, qy) / (radiusAt(ang) * 0.9);
    *inside = rr;
    double dome = dm::Sqrt(dm::Max(0.0, 1 - rr * rr));
    double bumps = 0.12 * noise::Fbm(px * 3, py * 3, k.seed + 1, 5);
    double cr = Craters(px, py, k.seed + 2, k.craterScale, 0.16) + Craters(px + 5, py, k.seed + 3, k.craterScale * 2.2, 0.07);
    return dome * 0.9 + (bumps + cr) * dm::Sqrt(dome);
  };
  double pxSize = img.PixV() / R;
  for (int y = 0; y < img.h; ++y) {
    for (int x = 0; x < img.w; ++x) {
      double px = (img.U(x) - 0.5) / R, py = (img.V(y) - 0.5) / R;
      double rr;
      double h0 = height(px, py, &rr);
      if (rr > 1.0 + pxSize * 2) {
        Put(img, x, y, {0, 0, 0, 0});
        continue;
      }
      double tmp;
      double hx = height(px + pxSize, py, &tmp), hy = height(px, py + pxSize, &tmp);
      Vec3 n = Norm({-(hx - h0) / pxSize * 0.6, -(hy - h0) / pxSize * 0.6, 1.0});
      double lit = 0.22 + 0.9 * Sat(Dot(n, L));
      double grain = noise::Fbm(px * 7, py * 7, k.seed + 4, 3);
      Rgba alb = MixRgba(k.base, k.dark, Smooth(-0.3, 0.5, grain + dm::Min(0.0, h0 - 0.6)));
      Rgba c;
      if (k.ghost) {
        double g = 0.68 + 0.32 * Sat(lit);
        c = {g, g, g, 1};
      } else {
        c = Scale(alb, lit);
        // Cool rim light from the far side keeps the rock off the dark sky.
        double rim = Smooth(0.75, 1.0, rr) * Sat(-(px * L.x + py * L.y) / dm::Max(dm::Len(px, py), 1e-6));
        c = MixRgba(c, Hex(0x9ab8ff), rim * 0.35);
      }
      c.a = Sat((1.0 - rr) / pxSize * 0.9 + 0.5);
      Put(img, x, y, c);
    }
  }
}

// ----- satellites -----------------------------------------------------------

struct Palette {
  bool ghost;
  Rgba Pick(const Rgba& c) const {
    if (!ghost) return c;
    double g = 0.72 + 0.28 * (0.3 * c.r + 0.55 * c.g + 0.15 * c.b);
    return {g, g, g, c.a};
  }
};

void SolarPanel(Image& img, const Palette& pl, double cu, double cv, double hw, double hh, double angle,
                const std::vector<double>* brokenEdge = nullptr) {
  double ca = dm::Cos(angle), sa = dm::Sin(angle);
  auto local = [=](double u, double v, double* lx, double* ly) {
    double du = u - cu, dv = v - cv;
    *lx = du * ca + dv * sa;
    *ly = -du * sa + dv * ca;
  };
  Sdf shape = [=](double u, double v) {
    double lx, ly;
    local(u, v, &lx, &ly);
    double d = sdf::Box(lx, ly, 0, 0, hw, hh, 0.004);
    if (brokenEdge) d = dm::Max(d, -sdf::Polygon(lx, ly, *brokenEdge));
    return d;
  };
  Mask body = ShapeMask(img, shape);
  img.Fill(body, pl.Pick(Hex(0x1b3a8c)));
  Mask cells = FieldMask(img, [=](double u, double v) {
    double lx, ly;
    local(u, v, &lx, &ly);
    double gx = dm::Fract((lx + hw) / (hh * 0.5)), gy = dm::Fract((ly + hh) / (hh * 0.5));
    double line = dm::Min(dm::Min(gx, 1 - gx), dm::Min(gy, 1 - gy));
    return Smooth(0.09, 0.03, line);
  });
  img.Fill(MinMask(cells, body), pl.Pick(Hex(0x7fa6ff)), 0.8);
  Mask sheen = FieldMask(img, [=](double u, double v) {
    double lx, ly;
    local(u, v, &lx, &ly);
    return 0.25 * Smooth(0.6, 1.0, dm::Sin((lx + ly) * 9) * 0.5 + 0.5);
  });
  img.Fill(MinMask(sheen, body), pl.Pick(Hex(0xcfe0ff)));
  Mask frame = ShapeMask(img, [=](double u, double v) { return dm::Abs(shape(u, v) + 0.004) - 0.004; });
  img.Fill(frame, pl.Pick(Hex(0xb9c2d0)));
}

void FoilBox(Image& img, const Palette& pl, const Sdf& shape, uint32_t seed) {
  Mask body = ShapeMask(img, shape);
  Image foil(img.w, img.h, img.aspect);
  foil.ClearPaint([&](double u, double v) {
    double cr = noise::Ridged(u * 14, v * 14, seed, 4);
    double shade = 0.55 + 0.6 * cr;
    Rgba c = MixRgba(Hex(0x8a5a12), Hex(0xffd66b), Sat(shade - 0.3));
    return pl.Pick(c);
  });
  foil.MultiplyAlpha(body);
  img.Over(foil);
  Mask edge = ShapeMask(img, [&](double u, double v) { return dm::Abs(shape(u, v) + 0.005) - 0.005; });
  img.Fill(edge, pl.Pick(Hex(0x5a3a0a)), 0.8);
}

void Strut(Image& img, const Palette& pl, double au, double av, double bu, double bv, double r) {
  Mask m = ShapeMask(img, [=](double u, double v) { return sdf::Segment(u, v, au, av, bu, bv, r); });
  img.Fill(m, pl.Pick(Hex(0x9aa3b5)));
}

// A parabolic dish seen from the side: a bowl opening towards angle, with
// its feed on a short stalk at the focus.
void Dish(Image& img, const Palette& pl, double cu, double cv, double r, double angle) {
  double ca = dm::Cos(angle), sa = dm::Sin(angle);
  auto local = [=](double u, double v, double* ax, double* ac) {
    double du = u - cu, dv = v - cv;
    *ax = du * ca + dv * sa;    // along the opening
    *ac = -du * sa + dv * ca;   // across it
  };
  Sdf bowl = [=](double u, double v) {
    double ax, ac;
    local(u, v, &ax, &ac);
    double e = dm::Len(ax / (r * 0.45), ac / r) - 1.0;
    return dm::Max(e * r * 0.45, ax);  // the half of the ellipse behind the rim
  };
  Mask body = ShapeMask(img, bowl);
  img.Fill(body, [=](double u, double v) {
    double ax, ac;
    local(u, v, &ax, &ac);
    return pl.Pick(MixRgba(Hex(0xf2f4f8), Hex(0x8d95a8), Sat(-ax / (r * 0.45))));
  });
  Mask rim = ShapeMask(img, [=](double u, double v) {
    double ax, ac;
    local(u, v, &ax, &ac);
    return sdf::Box(ax, ac, 0, 0, r * 0.04, r * 1.02, r * 0.03);
  });
  img.Fill(rim, pl.Pick(Hex(0xb9c2d0)));
  double fu = cu + ca * r * 0.55, fv = cv + sa * r * 0.55;
  Strut(img, pl, cu, cv, fu, fv, r * 0.05);
  Mask feed = ShapeMask(img, [=](double u, double v) { return sdf::Circle(u, v, fu, fv, r * 0.1); });
  img.Fill(feed, pl.Pick(Hex(0xdfe3ea)));
}

void PaintSatellite(Image& img, bool ghost) {
  Palette pl{ghost};
  Strut(img, pl, 0.2, 0.5, 0.8, 0.5, 0.012);
  SolarPanel(img, pl, 0.2, 0.5, 0.16, 0.085, 0.0);
  SolarPanel(img, pl, 0.8, 0.5, 0.16, 0.085, 0.0);
  FoilBox(img, pl, [](double u, double v) { return sdf::Box(u, v, 0.5, 0.49, 0.1, 0.13, 0.015); }, 801);
  // Dish and its arm on top.
  Strut(img, pl, 0.5, 0.62, 0.5, 0.7, 0.008);
  Dish(img, pl, 0.5, 0.7, 0.15, dm::kHalfPi);
  Mask lamp = ShapeMask(img, [](double u, double v) { return sdf::Circle(u, v, 0.4, 0.6, 0.012); });
  if (!ghost) img.AddLight(BlurMask(lamp, img, 0.02), pal::kRed, 1.0);
  img.Fill(lamp, pl.Pick(Hex(0xffb0b0)));
}

void PaintSatellitePart(Image& img, int which, bool ghost) {
  Palette pl{ghost};
  if (which == 1) {
    // A torn-off solar wing with its strut.
    std::vector<double> bite = {0.05, 0.2, 0.2, 0.02, 0.1, -0.05, 0.22, -0.2, 0.4, -0.2, 0.4, 0.2};
    Strut(img, pl, 0.25, 0.42, 0.6, 0.58, 0.012);
    SolarPanel(img, pl, 0.45, 0.5, 0.3, 0.17, 0.45, &bite);
  } else if (which == 2) {
    // Small bent antenna with its dish.
    Strut(img, pl, 0.25, 0.22, 0.55, 0.55, 0.022);
    Strut(img, pl, 0.55, 0.55, 0.6, 0.6, 0.018);
    Dish(img, pl, 0.62, 0.62, 0.3, 0.8);
  } else {
    // A chunk of the body, foil torn, a stub of panel still attached.
    std::vector<double> chunk = {0.25, 0.3, 0.62, 0.22, 0.74, 0.45, 0.66, 0.58, 0.7, 0.7, 0.42, 0.76, 0.3, 0.6, 0.34, 0.48};
    SolarPanel(img, pl, 0.2, 0.62, 0.12, 0.08, -0.3);
    FoilBox(img, pl, [chunk](double u, double v) { return sdf::Polygon(u, v, chunk); }, 802);
    Mask wires = ShapeMask(img, [](double u, double v) {
      return dm::Min(sdf::Segment(u, v, 0.7, 0.7, 0.82, 0.8, 0.006), sdf::Segment(u, v, 0.72, 0.62, 0.86, 0.64, 0.006));
    });
    img.Fill(wires, pl.Pick(Hex(0xff8a3d)));
  }
}

// ----- pickups and particles ------------------------------------------------

// Fuel: a pale crystal; the game tints each one cyan-green.
void PaintFuel(Image& img) {
  std::vector<double> gem = {0.5, 0.92, 0.72, 0.66, 0.72, 0.34, 0.5, 0.08, 0.28, 0.34, 0.28, 0.66};
  Mask body = ShapeMask(img, [&](double u, double v) { return sdf::Polygon(u, v, gem); });
  Mask halo = FieldMask(img, [](double u, double v) {
    double r = dm::Len((u - 0.5) * 1.3, v - 0.5);
    return 0.7 * dm::Exp(-r * r / 0.05) * Smooth(0.5, 0.3, dm::Len(u - 0.5, v - 0.5));
  });
  img.AddLight(halo, Hex(0xe6fbff), 1.0);
  img.Fill(body, Hex(0xbfd4dc));
  Mask left = ShapeMask(img, [&](double u, double v) {
    return dm::Max(sdf::Polygon(u, v, gem), u - 0.5);
  });
  img.Fill(left, Hex(0xf4fbff), 0.8);
  Mask top = ShapeMask(img, [&](double u, double v) {
    std::vector<double> facet = {0.5, 0.92, 0.72, 0.66, 0.5, 0.58, 0.28, 0.66};
    return sdf::Polygon(u, v, facet);
  });
  img.Fill(top, Hex(0xffffff), 0.7);
  Mask core = FieldMask(img, [](double u, double v) {
    double r = dm::Len((u - 0.5) * 1.6, v - 0.47);
    return dm::Exp(-r * r / 0.006);
  });
  img.AddLight(core, pal::kWhite, 1.0);
  Mask edge = ShapeMask(img, [&](double u, double v) { return dm::Abs(sdf::Polygon(u, v, gem) + 0.01) - 0.01; });
  img.Fill(edge, Hex(0xffffff), 0.9);
}

void PaintWarningRing(Image& img) {
  Mask ring = ShapeMask(img, [](double u, double v) { return sdf::Ring(u, v, 0.5, 0.5, 0.465, 0.006); });
  Mask inner = FieldMask(img, [](double u, double v) {
    double r = dm::Len(u - 0.5, v - 0.5);
    return 0.3 * Smooth(0.38, 0.465, r) * Smooth(0.472, 0.462, r);
  });
  Mask dashes = FieldMask(img, [](double u, double v) {
    double r = dm::Len(u - 0.5, v - 0.5);
    double a = dm::Atan2(v - 0.5, u - 0.5);
    double seg = Smooth(0.3, 0.2, dm::Abs(dm::Fract(a / dm::kTwoPi * 24) - 0.5));
    return seg * Smooth(0.012, 0.004, dm::Abs(r - 0.43));
  });
  img.Fill(inner, pal::kWhite);
  img.AddLight(BlurMask(ring, img, 0.012), pal::kWhite, 0.8);
  img.Fill(ring, pal::kWhite);
  img.Fill(dashes, pal::kWhite, 0.6);
}

void PaintBoom(Image& img) {
  Mask fire = img.NewMask();
  for (int y = 0; y < img.h; ++y) {
    for (int x = 0; x < img.w; ++x) {
      double px = img.U(x) - 0.5, py = img.V(y) - 0.5;
      double r = dm::Len(px, py);
      double n = noise::Fbm(px * 6, py * 6, 1301, 5);
      double rd = r * (1.0 + 0.45 * n);
      double heat = Smooth(0.42, 0.0, rd);
      double core = dm::Exp(-r * r / 0.008);
      Rgba c = MixRgba(Hex(0xc8401a), Hex(0xff8a2a), Smooth(0.0, 0.45, heat));
      c = MixRgba(c, Hex(0xffd45a), Smooth(0.35, 0.75, heat));
      c = MixRgba(c, Hex(0xfffaf0), Sat(core * 1.3 + Smooth(0.7, 1.0, heat) * 0.6));
      c.a = Sat(Smooth(0.0, 0.3, heat) * 0.92 + core) * Smooth(0.5, 0.42, r);
      Put(img, x, y, c);
      fire.at(x, y) = static_cast<float>(heat);
    }
  }
  Rng rng(1302);
  Mask sparks = img.NewMask();
  for (int i = 0; i < 28; ++i) {
    double a = rng.Range(0, dm::kTwoPi);
    double r0 = rng.Range(0.12, 0.25), r1 = r0 + rng.Range(0.08, 0.2);
    double ca = dm::Cos(a), sa = dm::Sin(a);
    Mask s = ShapeMask(img, [=](double u, double v) {
      return sdf::Segment(u, v, 0.5 + ca * r0, 0.5 + sa * r0, 0.5 + ca * r1, 0.5 + sa * r1, 0.004);
    });
    sparks = MaxMask(sparks, s);
  }
  img.AddLight(sparks, Hex(0xffe3a0), 0.9);
}

void PaintCollideFlash(Image& img) {
  Mask m = FieldMask(img, [](double u, double v) {
    double px = u - 0.5, py = v - 0.5;
    double r = dm::Len(px, py);
    double a = dm::Atan2(py, px);
    double rays = dm::Pow(dm::Abs(dm::Cos(a * 3)), 18) * 0.9 + dm::Pow(dm::Abs(dm::Cos(a * 3 + 0.52)), 30) * 0.5;
    return dm::Exp(-r * r / 0.004) + rays * dm::Exp(-r / 0.12) * Smooth(0.5, 0.3, r) + 0.35 * dm::Exp(-r * r / 0.03);
  });
  img.AddLight(m, Hex(0xeaf7ff), 1.0);
}

void PaintFuelIndicator(Image& img) {
  Mask m = FieldMask(img, [&](double u, double v) {
    double px = (u - img.aspect * 0.5) / (img.aspect * 0.5), py = (v - 0.5) / 0.5;
    double r2 = px * px * 1.0 + py * py;
    return dm::Exp(-r2 * 3.0) * Smooth(1.0, 0.8, dm::Sqrt(r2)) + 0.6 * dm::Exp(-px * px * 60) * Smooth(1.0, 0.2, dm::Abs(py));
  });
  img.AddLight(m, pal::kWhite, 1.0);
}

}  // namespace

void AddSpaceImages(AssetList& out) {
  AddPicture(out, "Graphic_Assets/Background/background.tga", 512, 512, 0, false, PaintBackground, true);

  AddPicture(out, "Graphic_Assets/Background/nebula.tga", 512, 512, 0, true, [](Image& i) {
    PaintNebula(i, {101, Hex(0x4a2a9a), Hex(0xb04fd8), Hex(0xffb3e6), Hex(0xff7fd0), 0.5});
  });
  AddPicture(out, "Graphic_Assets/Background/nebula2.tga", 512, 512, 0, true, [](Image& i) {
    PaintNebula(i, {202, Hex(0x123f7a), Hex(0x2fa6d6), Hex(0xc8f6ff), Hex(0x7ff0e0), 0.5});
  });
  AddPicture(out, "Graphic_Assets/Background/nebula3.tga", 256, 256, 0, true, [](Image& i) {
    PaintNebula(i, {303, Hex(0x7a1e2a), Hex(0xe2603a), Hex(0xffe0a0), Hex(0xffb870), 0.6});
  });
  AddPicture(out, "Graphic_Assets/Background/nebula4.tga", 256, 256, 0, true, [](Image& i) {
    PaintNebula(i, {404, Hex(0x0e4a3a), Hex(0x32c48a), Hex(0xd8ffe8), Hex(0x9affc8), 0.45});
  });
  AddPicture(out, "Graphic_Assets/Background/cluster1.tga", 128, 128, 0, true,
             [](Image& i) { PaintCluster(i, 111, Hex(0xb8d0ff), 0.11, 700); });
  AddPicture(out, "Graphic_Assets/Background/cluster2.tga", 128, 128, 0, true,
             [](Image& i) { PaintCluster(i, 222, Hex(0xffd9a0), 0.17, 420); });
  AddPicture(out, "Graphic_Assets/Background/blackhole.tga", 128, 512, 1.4, true, PaintBlackHole);
  AddPicture(out, "Graphic_Assets/Background/warp.tga", 512, 256, 1.3, true, [](Image& i) { PaintWarp(i, false); });
  AddPicture(out, "Graphic_Assets/Background/warpfront.tga", 512, 256, 1.3, true, [](Image& i) { PaintWarp(i, true); });
  AddPicture(out, "Graphic_Assets/Background/quest.tga", 128, 128, 0, true, PaintQuest);

  AddPicture(out, "Graphic_Assets/Obstacle/earth.tga", 512, 512, 0, true, [](Image& i) { PaintPlanet(i, EarthLook()); });
  AddPicture(out, "Graphic_Assets/Obstacle/moon.tga", 256, 256, 0, true, [](Image& i) { PaintPlanet(i, MoonLook(false)); });
  AddPicture(out, "Graphic_Assets/Obstacle/mar.tga", 256, 256, 0, true, [](Image& i) { PaintPlanet(i, MarsLook()); });
  AddPicture(out, "Graphic_Assets/Obstacle/uranus.tga", 512, 512, 0, true, [](Image& i) { PaintPlanet(i, UranusLook()); });
  AddPicture(out, "Graphic_Assets/Particle/planetaf.tga", 256, 256, 0, true, [](Image& i) { PaintPlanet(i, MoonLook(true)); });

  // The far rock (the second) is drawn smaller than the near ones.
  const int rockSize[3] = {256, 64, 256}, ghostSize[3] = {64, 64, 128};
  const RockLook rocks[3] = {
      {1401, 1.0, 0.92, 0.16, Hex(0xb0a496), Hex(0x62584f), 2.6},
      {1402, 1.12, 0.72, 0.2, Hex(0xa19d97), Hex(0x55524f), 3.0},
      {1403, 0.95, 1.0, 0.22, Hex(0xa08068), Hex(0x54423a), 2.1},
  };
  for (int k = 0; k < 3; ++k) {
    std::string n = std::to_string(k + 1);
    RockLook look = rocks[k];
    AddPicture(out, "Graphic_Assets/Obstacle/astroid" + n + ".tga", rockSize[k], rockSize[k], 0, true, [look](Image& i) { PaintRock(i, look); });
    look.ghost = true;
    AddPicture(out, "Graphic_Assets/Particle/astroid" + n + "af.tga", ghostSize[k], ghostSize[k], 0, true, [look](Image& i) { PaintRock(i, look); });
  }

  AddPicture(out, "Graphic_Assets/Obstacle/satelite.tga", 128, 128, 0, true, [](Image& i) { PaintSatellite(i, false); });
  AddPicture(out, "Graphic_Assets/Particle/sateliteaf.tga", 64, 64, 0, true, [](Image& i) { PaintSatellite(i, true); });
  // The second part flies far off, small.
  const int partSize[4] = {0, 128, 32, 128}, partGhostSize[4] = {0, 64, 32, 64};
  for (int k = 1; k <= 3; ++k) {
    std::string n = std::to_string(k);
    AddPicture(out, "Graphic_Assets/Obstacle/satelite_parts" + n + ".tga", partSize[k], partSize[k], 0, true,
               [k](Image& i) { PaintSatellitePart(i, k, false); });
    AddPicture(out, "Graphic_Assets/Particle/satelite_parts" + n + "af.tga", partGhostSize[k], partGhostSize[k], 0, true,
               [k](Image& i) { PaintSatellitePart(i, k, true); });
  }

  AddPicture(out, "Graphic_Assets/Obstacle/fuel.tga", 128, 128, 0, true, PaintFuel);
  AddPicture(out, "Graphic_Assets/Obstacle/warning.tga", 512, 512, 0, true, PaintWarningRing);
  AddPicture(out, "Graphic_Assets/Particle/boom.tga", 256, 256, 0, true, PaintBoom);
  AddPicture(out, "Graphic_Assets/Particle/collide.tga", 128, 128, 0, true, PaintCollideFlash);
  AddPicture(out, "Graphic_Assets/Particle/fuelindicator.tga", 16, 32, 0.6, true, PaintFuelIndicator);
}
