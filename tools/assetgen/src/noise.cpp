#include <cmath>

#include "dmath.h"
#include "rng.h"

namespace noise {

namespace {

int Wrap(int v, int period) {
  if (period <= 0) return v;
  int r = v % period;
  return r < 0 ? r + period : r;
}

double Grad(int ix, int iy, uint32_t seed, double dx, double dy) {
  // Sixteen evenly spread directions, read from a table so no trig is needed.
  static const double kDirs[16][2] = {
      {1.0, 0.0},          {0.9238795, 0.3826834},  {0.7071068, 0.7071068},
      {0.3826834, 0.9238795}, {0.0, 1.0},           {-0.3826834, 0.9238795},
      {-0.7071068, 0.7071068}, {-0.9238795, 0.3826834}, {-1.0, 0.0},
      {-0.9238795, -0.3826834}, {-0.7071068, -0.7071068}, {-0.3826834, -0.9238795},
      {0.0, -1.0},         {0.3826834, -0.9238795}, {0.7071068, -0.7071068},
      {0.9238795, -0.3826834}};
  const double* g = kDirs[Hash3(ix, iy, 0, seed) & 15u];
  return g[0] * dx + g[1] * dy;
}

double Fade(double t) { return t * t * t * (t * (t * 6.0 - 15.0) + 10.0); }

}  // namespace

double Perlin(double x, double y, uint32_t seed, int periodX, int periodY) {
  double fx = std::floor(x), fy = std::floor(y);
  int x0 = static_cast<int>(fx), y0 = static_cast<int>(fy);
  double dx = x - fx, dy = y - fy;
  int xa = Wrap(x0, periodX), xb = Wrap(x0 + 1, periodX);
  int ya = Wrap(y0, periodY), yb = Wrap(y0 + 1, periodY);
  double n00 = Grad(xa, ya, seed, dx, dy);
  double n10 = Grad(xb, ya, seed, dx - 1.0, dy);
  double n01 = Grad(xa, yb, seed, dx, dy - 1.0);
  double n11 = Grad(xb, yb, seed, dx - 1.0, dy - 1.0);
  double u = Fade(dx), v = Fade(dy);
  double a = n00 + (n10 - n00) * u;
  double b = n01 + (n11 - n01) * u;
  return (a + (b - a) * v) * 1.4142135;
}

double Fbm(double x, double y, uint32_t seed, int octaves, double gain, int periodX, int periodY) {
  double sum = 0.0, amp = 1.0, norm = 0.0;
  for (int i = 0; i < octaves; ++i) {
    sum += amp * Perlin(x, y, seed + 1013u * static_cast<uint32_t>(i), periodX, periodY);
    norm += amp;
    amp *= gain;
    x *= 2.0;
    y *= 2.0;
    periodX *= 2;
    periodY *= 2;
  }
  return sum / norm;
}

double Ridged(double x, double y, uint32_t seed, int octaves, int periodX, int periodY) {
  double sum = 0.0, amp = 1.0, norm = 0.0, prev = 1.0;
  for (int i = 0; i < octaves; ++i) {
    double n = 1.0 - dm::Abs(Perlin(x, y, seed + 7919u * static_cast<uint32_t>(i), periodX, periodY));
    n *= n;
    sum += n * amp * prev;
    norm += amp;
    prev = n;
    amp *= 0.5;
    x *= 2.0;
    y *= 2.0;
    periodX *= 2;
    periodY *= 2;
  }
  return sum / norm;
}

namespace {

double Grad3(int ix, int iy, int iz, uint32_t seed, double dx, double dy, double dz) {
  // The twelve cube-edge directions of improved Perlin noise.
  switch (Hash3(ix, iy, iz, seed) % 12u) {
    case 0: return dx + dy;
    case 1: return -dx + dy;
    case 2: return dx - dy;
    case 3: return -dx - dy;
    case 4: return dx + dz;
    case 5: return -dx + dz;
    case 6: return dx - dz;
    case 7: return -dx - dz;
    case 8: return dy + dz;
    case 9: return -dy + dz;
    case 10: return dy - dz;
    default: return -dy - dz;
  }
}

}  // namespace

double Perlin3(double x, double y, double z, uint32_t seed) {
  double fx = std::floor(x), fy = std::floor(y), fz = std::floor(z);
  int x0 = static_cast<int>(fx), y0 = static_cast<int>(fy), z0 = static_cast<int>(fz);
  double dx = x - fx, dy = y - fy, dz = z - fz;
  double u = Fade(dx), v = Fade(dy), w = Fade(dz);
  double c[2][2][2];
  for (int k = 0; k < 2; ++k)
    for (int j = 0; j < 2; ++j)
      for (int i = 0; i < 2; ++i) c[k][j][i] = Grad3(x0 + i, y0 + j, z0 + k, seed, dx - i, dy - j, dz - k);
  double x00 = c[0][0][0] + (c[0][0][1] - c[0][0][0]) * u;
  double x10 = c[0][1][0] + (c[0][1][1] - c[0][1][0]) * u;
  double x01 = c[1][0][0] + (c[1][0][1] - c[1][0][0]) * u;
  double x11 = c[1][1][0] + (c[1][1][1] - c[1][1][0]) * u;
  double y0v = x00 + (x10 - x00) * v;
  double y1v = x01 + (x11 - x01) * v;
  return (y0v + (y1v - y0v) * w) * 0.9;
}

double Fbm3(double x, double y, double z, uint32_t seed, int octaves, double gain) {
  double sum = 0.0, amp = 1.0, norm = 0.0;
  for (int i = 0; i < octaves; ++i) {
    sum += amp * Perlin3(x, y, z, seed + 131u * static_cast<uint32_t>(i));
    norm += amp;
    amp *= gain;
    x *= 2.0;
    y *= 2.0;
    z *= 2.0;
  }
  return sum / norm;
}

double Cellular(double x, double y, uint32_t seed, uint32_t* cellId) {
  int cx = static_cast<int>(std::floor(x)), cy = static_cast<int>(std::floor(y));
  double best = 1e9;
  uint32_t bestId = 0;
  for (int j = -1; j <= 1; ++j) {
    for (int i = -1; i <= 1; ++i) {
      uint32_t h = Hash3(cx + i, cy + j, 7, seed);
      double px = cx + i + (h & 0xFFFF) / 65536.0;
      double py = cy + j + (h >> 16) / 65536.0;
      double d = dm::Len(px - x, py - y);
      if (d < best) {
        best = d;
        bestId = h;
      }
    }
  }
  if (cellId) *cellId = bestId;
  return best;
}

}  // namespace noise
