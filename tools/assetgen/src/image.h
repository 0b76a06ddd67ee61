// image.h -- the generator's drawing surface.
// Pictures are painted in float, premultiplied RGBA with row 0 at the bottom,
// the way the engine's loader hands rows to OpenGL (texture v = 0 is the
// bottom edge). Drawing coordinates are "display units": u runs 0..aspect
// across, v runs 0..1 up, where aspect is the shape the game stretches the
// picture to on screen. A 4:1 button painted into a 512 x 128 texture and a
// 16:9 panel painted into 256 x 256 both keep round circles that way.
#ifndef ASSETGEN_IMAGE_H
#define ASSETGEN_IMAGE_H

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct Rgba {
  double r = 0, g = 0, b = 0, a = 0;  // straight (not premultiplied)
};

Rgba Hex(uint32_t rgb, double alpha = 1.0);
Rgba MixRgba(const Rgba& x, const Rgba& y, double t);
Rgba Scale(const Rgba& c, double k);  // scales r, g, b only
Rgba WithAlpha(const Rgba& c, double a);

// Per-pixel coverage, same grid as the image it was made for.
struct Mask {
  int w = 0, h = 0;
  std::vector<float> m;
  Mask() = default;
  Mask(int width, int height) : w(width), h(height), m(static_cast<size_t>(width) * height, 0.f) {}
  float& at(int x, int y) { return m[static_cast<size_t>(y) * w + x]; }
  float at(int x, int y) const { return m[static_cast<size_t>(y) * w + x]; }
  float Sample(int x, int y) const {  // zero outside
    return (x < 0 || y < 0 || x >= w || y >= h) ? 0.f : at(x, y);
  }
};

using Sdf = std::function<double(double u, double v)>;
using Paint = std::function<Rgba(double u, double v)>;

class Image {
 public:
  Image(int width, int height, double aspect = 0.0);

  int w, h;
  double aspect;  // display width / display height
  std::vector<float> px;  // premultiplied r, g, b, a

  double PixU() const { return aspect / w; }  // one pixel in display units
  double PixV() const { return 1.0 / h; }
  double U(int x) const { return (x + 0.5) * aspect / w; }
  double V(int y) const { return (y + 0.5) / h; }
  int ToX(double u) const { return static_cast<int>(u / aspect * w); }
  int ToY(double v) const { return static_cast<int>(v * h); }
  float* At(int x, int y) { return &px[(static_cast<size_t>(y) * w + x) * 4]; }
  const float* At(int x, int y) const { return &px[(static_cast<size_t>(y) * w + x) * 4]; }
  Mask NewMask() const { return Mask(w, h); }

  // Fills every pixel with paint (replacing what was there).
  void Clear(const Rgba& c);
  void ClearPaint(const Paint& paint);
  // Source-over of paint through a coverage mask (times opacity).
  void Fill(const Mask& mask, const Paint& paint, double opacity = 1.0);
  void Fill(const Mask& mask, const Rgba& c, double opacity = 1.0);
  // Adds light: colour is added, alpha grows toward 1. For glows and flares.
  void AddLight(const Mask& mask, const Rgba& c, double gain = 1.0);
  void AddLightPaint(const Mask& mask, const Paint& paint, double gain = 1.0);
  // Source-over of another image of the same size.
  void Over(const Image& top, double opacity = 1.0);
  // Multiplies the alpha (and premultiplied colour) by a mask: cut-outs.
  void MultiplyAlpha(const Mask& mask);
  // Makes the bottom row clear. Textures repeat, so linear filtering at a
  // quad's top edge reaches round to the bottom row: a picture clear at the
  // top and solid at the bottom would show a thin line along its top edge.
  void ClearBottomRow();
  // Alpha of the picture as a mask.
  Mask AlphaMask() const;
  // Gaussian-like blur of the whole picture, radius in display units.
  void Blur(double radius);
};

// ----- masks from shapes (signed distance in display units, < 0 inside) -----
// Coverage of an SDF with a one-pixel antialiased edge. bbox limits the work
// (u0, v0, u1, v1 in display units); pass an empty box to scan everything.
Mask ShapeMask(const Image& img, const Sdf& sdf, double u0 = 0, double v0 = 0, double u1 = -1,
               double v1 = -1, double softness = 1.0);
// Blur in display units (separate horizontal and vertical pixel radii).
Mask BlurMask(const Mask& in, const Image& img, double radius);
Mask BlurMaskPx(const Mask& in, double rx, double ry);
Mask MaxMask(const Mask& a, const Mask& b);
Mask MinMask(const Mask& a, const Mask& b);
Mask SubMask(const Mask& a, const Mask& b);  // a and not b
Mask ScaleMask(const Mask& a, double k);    // clamped to 1
Mask ShiftMask(const Mask& a, int dx, int dy);
// Grows a mask by radius (display units) with a soft edge: outlines.
Mask GrowMask(const Mask& a, const Image& img, double radius);
// Coverage from a field evaluated per pixel centre (no antialiasing): noise.
Mask FieldMask(const Image& img, const std::function<double(double u, double v)>& field);

// ----- signed distance functions -----
namespace sdf {
double Circle(double u, double v, double cu, double cv, double r);
double Box(double u, double v, double cu, double cv, double hw, double hh, double radius = 0);
double Segment(double u, double v, double au, double av, double bu, double bv, double r);
double Polygon(double u, double v, const std::vector<double>& pts);  // u0,v0,u1,v1,...
double Ring(double u, double v, double cu, double cv, double r, double halfWidth);
}  // namespace sdf

// ----- paints -----
Paint Solid(const Rgba& c);
Paint VGradient(const Rgba& bottom, const Rgba& top, double v0 = 0, double v1 = 1);
Paint HGradient(const Rgba& left, const Rgba& right, double u0, double u1);
Paint RadialGradient(double cu, double cv, double r, const Rgba& inner, const Rgba& outer);

// ----- export -----
// Encodes a TGA the engine accepts: 18-byte header whose first 12 bytes are
// one of the two templates (no ID, no colour map, origin 0), bottom-left row
// order, 24 or 32 bits; run-length encoded when that is smaller.
std::vector<uint8_t> EncodeTga(const Image& img, bool withAlpha, bool dither = false);
// Encodes a straight-alpha RGBA PNG, top row first (for desktop icons).
std::vector<uint8_t> EncodePng(const Image& img);
// Encodes a 32-bit straight-alpha BMP, bottom row first (the window's icon:
// SDL reads BMP without help).
std::vector<uint8_t> EncodeBmp(const Image& img);

#endif
