// dmath.h -- transcendental functions written out in plain double arithmetic.
// The C library's sin/exp/pow may round differently from one libm release to
// the next, and a single flipped low bit changes a pixel and breaks the
// "regenerate and compare" check. Everything here uses only +, -, *, / and
// sqrt, which IEEE 754 pins down exactly, so the assets come out the same on
// every machine that builds without fused multiply-add contraction.
#ifndef ASSETGEN_DMATH_H
#define ASSETGEN_DMATH_H

#include <cmath>

namespace dm {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 6.28318530717958647692;
constexpr double kHalfPi = 1.57079632679489661923;

double Sin(double x);
double Cos(double x);
double Exp(double x);
double Log(double x);   // natural log; x <= 0 gives a large negative number
double Pow(double base, double exponent);  // base >= 0
double Atan(double x);
double Atan2(double y, double x);
double Acos(double x);
double Tanh(double x);

inline double Sqrt(double x) { return x > 0.0 ? std::sqrt(x) : 0.0; }
inline double Floor(double x) { return std::floor(x); }
inline double Fract(double x) { return x - std::floor(x); }
inline double Clamp(double x, double lo, double hi) { return x < lo ? lo : (x > hi ? hi : x); }
inline double Sat(double x) { return Clamp(x, 0.0, 1.0); }
inline double Mix(double a, double b, double t) { return a + (b - a) * t; }
inline double Smooth(double e0, double e1, double x) {
  double t = Sat((x - e0) / (e1 - e0));
  return t * t * (3.0 - 2.0 * t);
}
inline double Abs(double x) { return x < 0.0 ? -x : x; }
inline double Min(double a, double b) { return a < b ? a : b; }
inline double Max(double a, double b) { return a > b ? a : b; }
inline double Len(double x, double y) { return Sqrt(x * x + y * y); }

}  // namespace dm

#endif
