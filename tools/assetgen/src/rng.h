// rng.h -- seeded randomness and lattice noise for the generator.
// The standard library's distributions are allowed to differ between
// implementations, so the generator carries its own PCG32 and its own
// conversions: a given seed always gives the same asset.
#ifndef ASSETGEN_RNG_H
#define ASSETGEN_RNG_H

#include <cstdint>

class Rng {
 public:
  explicit Rng(uint64_t seed) { Seed(seed); }
  void Seed(uint64_t seed) {
    state_ = 0;
    Next();
    state_ += seed;
    Next();
  }
  uint32_t Next() {
    uint64_t old = state_;
    state_ = old * 6364136223846793005ULL + 1442695040888963407ULL;
    uint32_t shifted = static_cast<uint32_t>(((old >> 18u) ^ old) >> 27u);
    uint32_t rot = static_cast<uint32_t>(old >> 59u);
    return (shifted >> rot) | (shifted << ((32u - rot) & 31u));
  }
  // Uniform in [0, 1).
  double Unit() { return Next() * (1.0 / 4294967296.0); }
  double Range(double lo, double hi) { return lo + (hi - lo) * Unit(); }
  int Int(int lo, int hiExclusive) {
    return lo + static_cast<int>(Next() % static_cast<uint32_t>(hiExclusive - lo));
  }
  // Roughly normal, mean 0, deviation 1 (sum of four uniforms).
  double Gauss() {
    double a = Unit();  // drawn one by one: the order of operands is unspecified
    double b = Unit();
    double c = Unit();
    double d = Unit();
    return (a + b + c + d - 2.0) * 1.7320508;
  }

 private:
  uint64_t state_;
};

// Integer hash used by the lattice noises: one seed, two or three coordinates.
inline uint32_t Hash3(int32_t x, int32_t y, int32_t z, uint32_t seed) {
  uint32_t h = seed * 0x9E3779B9u;
  h ^= static_cast<uint32_t>(x) * 0x85EBCA6Bu;
  h = (h << 13) | (h >> 19);
  h ^= static_cast<uint32_t>(y) * 0xC2B2AE35u;
  h = (h << 11) | (h >> 21);
  h ^= static_cast<uint32_t>(z) * 0x27D4EB2Fu;
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

namespace noise {

// Gradient noise in about [-1, 1]. The period (in lattice cells, 0 = none)
// makes the pattern wrap, which the background tile needs to be seamless.
double Perlin(double x, double y, uint32_t seed, int periodX = 0, int periodY = 0);
// Fractal sum of octaves, normalised to about [-1, 1].
double Fbm(double x, double y, uint32_t seed, int octaves, double gain = 0.5,
           int periodX = 0, int periodY = 0);
// Ridged multifractal in [0, 1]: sharp creases, used for rock and cloud bands.
double Ridged(double x, double y, uint32_t seed, int octaves, int periodX = 0, int periodY = 0);
// 3-D gradient noise, for sphere surfaces that must not show a seam.
double Perlin3(double x, double y, double z, uint32_t seed);
double Fbm3(double x, double y, double z, uint32_t seed, int octaves, double gain = 0.5);
// Distance to the nearest jittered cell point (cellular noise), and its id.
double Cellular(double x, double y, uint32_t seed, uint32_t* cellId = nullptr);

}  // namespace noise

#endif
