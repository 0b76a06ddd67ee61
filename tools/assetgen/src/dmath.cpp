#include "dmath.h"

namespace dm {

namespace {

// sin and cos on [-pi/4, pi/4]; Taylor terms up to x^17 leave an error far
// below a 16-bit sample or an 8-bit pixel.
double SinCore(double x) {
  double x2 = x * x;
  double term = x, sum = x;
  for (int n = 1; n <= 8; ++n) {
    term *= -x2 / ((2.0 * n) * (2.0 * n + 1.0));
    sum += term;
  }
  return sum;
}

double CosCore(double x) {
  double x2 = x * x;
  double term = 1.0, sum = 1.0;
  for (int n = 1; n <= 8; ++n) {
    term *= -x2 / ((2.0 * n - 1.0) * (2.0 * n));
    sum += term;
  }
  return sum;
}

// Reduces x to r in [-pi/4, pi/4] and the quadrant q with x = q*pi/2 + r.
// Two-part pi/2 keeps the reduction exact enough for the arguments we use
// (oscillator phases stay below a few thousand radians).
double Reduce(double x, long long* quadrant) {
  const double kHi = 1.5707963267341256;        // pi/2 rounded to 33 bits
  const double kLo = 6.077100506506192e-11;     // remainder of pi/2
  double q = std::floor(x / kHalfPi + 0.5);
  *quadrant = static_cast<long long>(q);
  return (x - q * kHi) - q * kLo;
}

}  // namespace

double Sin(double x) {
  long long q;
  double r = Reduce(x, &q);
  switch (((q % 4) + 4) % 4) {
    case 0: return SinCore(r);
    case 1: return CosCore(r);
    case 2: return -SinCore(r);
    default: return -CosCore(r);
  }
}

double Cos(double x) {
  long long q;
  double r = Reduce(x, &q);
  switch (((q % 4) + 4) % 4) {
    case 0: return CosCore(r);
    case 1: return -SinCore(r);
    case 2: return -CosCore(r);
    default: return SinCore(r);
  }
}

double Exp(double x) {
  if (x > 700.0) x = 700.0;
  if (x < -700.0) return 0.0;
  const double kLn2 = 0.69314718055994530942;
  double k = std::floor(x / kLn2 + 0.5);
  double r = x - k * kLn2;
  double term = 1.0, sum = 1.0;
  for (int n = 1; n <= 14; ++n) {
    term *= r / n;
    sum += term;
  }
  return std::ldexp(sum, static_cast<int>(k));
}

double Log(double x) {
  if (x <= 0.0) return -745.0;
  int e;
  double m = std::frexp(x, &e);  // m in [0.5, 1)
  if (m < 0.70710678118654752) {
    m *= 2.0;
    e -= 1;
  }
  double s = (m - 1.0) / (m + 1.0);
  double s2 = s * s;
  double term = s, sum = 0.0;
  for (int n = 1; n <= 41; n += 2) {
    sum += term / n;
    term *= s2;
  }
  return 2.0 * sum + e * 0.69314718055994530942;
}

double Pow(double base, double exponent) {
  if (base <= 0.0) return exponent == 0.0 ? 1.0 : 0.0;
  return Exp(exponent * Log(base));
}

double Atan(double x) {
  bool neg = x < 0.0;
  if (neg) x = -x;
  bool inv = x > 1.0;
  if (inv) x = 1.0 / x;
  // Two half-angle steps bring x below tan(pi/16) where the series is quick.
  x = x / (1.0 + std::sqrt(1.0 + x * x));
  x = x / (1.0 + std::sqrt(1.0 + x * x));
  double x2 = x * x, term = x, sum = 0.0;
  for (int n = 1; n <= 31; n += 2) {
    sum += term / n;
    term *= -x2;
  }
  sum *= 4.0;
  if (inv) sum = kHalfPi - sum;
  return neg ? -sum : sum;
}

double Atan2(double y, double x) {
  if (x > 0.0) return Atan(y / x);
  if (x < 0.0) return y >= 0.0 ? Atan(y / x) + kPi : Atan(y / x) - kPi;
  if (y > 0.0) return kHalfPi;
  if (y < 0.0) return -kHalfPi;
  return 0.0;
}

double Acos(double x) {
  x = Clamp(x, -1.0, 1.0);
  return Atan2(std::sqrt(1.0 - x * x), x);
}

double Tanh(double x) {
  if (x > 20.0) return 1.0;
  if (x < -20.0) return -1.0;
  double e = Exp(2.0 * x);
  return (e - 1.0) / (e + 1.0);
}

}  // namespace dm
