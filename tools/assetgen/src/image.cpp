#include "image.h"

#include <algorithm>
#include <cmath>

#include "dmath.h"
#include "rng.h"

Rgba Hex(uint32_t rgb, double alpha) {
  Rgba c;
  c.r = ((rgb >> 16) & 0xFF) / 255.0;
  c.g = ((rgb >> 8) & 0xFF) / 255.0;
  c.b = (rgb & 0xFF) / 255.0;
  c.a = alpha;
  return c;
}

Rgba MixRgba(const Rgba& x, const Rgba& y, double t) {
  return {dm::Mix(x.r, y.r, t), dm::Mix(x.g, y.g, t), dm::Mix(x.b, y.b, t), dm::Mix(x.a, y.a, t)};
}

Rgba Scale(const Rgba& c, double k) { return {c.r * k, c.g * k, c.b * k, c.a}; }
Rgba WithAlpha(const Rgba& c, double a) { return {c.r, c.g, c.b, a}; }

Image::Image(int width, int height, double asp)
    : w(width), h(height), aspect(asp > 0 ? asp : static_cast<double>(width) / height),
      px(static_cast<size_t>(width) * height * 4, 0.f) {}

void Image::Clear(const Rgba& c) {
  for (size_t i = 0; i < px.size(); i += 4) {
    px[i] = static_cast<float>(c.r * c.a);
    px[i + 1] = static_cast<float>(c.g * c.a);
    px[i + 2] = static_cast<float>(c.b * c.a);
    px[i + 3] = static_cast<float>(c.a);
  }
}

void Image::ClearPaint(const Paint& paint) {
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      Rgba c = paint(U(x), V(y));
      float* p = At(x, y);
      p[0] = static_cast<float>(c.r * c.a);
      p[1] = static_cast<float>(c.g * c.a);
      p[2] = static_cast<float>(c.b * c.a);
      p[3] = static_cast<float>(c.a);
    }
  }
}

void Image::Fill(const Mask& mask, const Paint& paint, double opacity) {
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      double k = mask.at(x, y) * opacity;
      if (k <= 0.0) continue;
      Rgba c = paint(U(x), V(y));
      double a = c.a * k;
      if (a <= 0.0) continue;
      float* p = At(x, y);
      double inv = 1.0 - a;
      p[0] = static_cast<float>(c.r * a + p[0] * inv);
      p[1] = static_cast<float>(c.g * a + p[1] * inv);
      p[2] = static_cast<float>(c.b * a + p[2] * inv);
      p[3] = static_cast<float>(a + p[3] * inv);
    }
  }
}

void Image::Fill(const Mask& mask, const Rgba& c, double opacity) {
  Fill(mask, Solid(c), opacity);
}

void Image::AddLightPaint(const Mask& mask, const Paint& paint, double gain) {
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      double k = mask.at(x, y) * gain;
      if (k <= 0.0) continue;
      Rgba c = paint(U(x), V(y));
      float* p = At(x, y);
      double a = dm::Sat(k * c.a);
      p[0] = static_cast<float>(p[0] + c.r * a);
      p[1] = static_cast<float>(p[1] + c.g * a);
      p[2] = static_cast<float>(p[2] + c.b * a);
      p[3] = static_cast<float>(p[3] + (1.0 - p[3]) * a);
    }
  }
}

void Image::AddLight(const Mask& mask, const Rgba& c, double gain) {
  AddLightPaint(mask, Solid(c), gain);
}

void Image::Over(const Image& top, double opacity) {
  for (size_t i = 0; i < px.size(); i += 4) {
    double a = top.px[i + 3] * opacity;
    if (a <= 0.0) continue;
    double inv = 1.0 - a;
    px[i] = static_cast<float>(top.px[i] * opacity + px[i] * inv);
    px[i + 1] = static_cast<float>(top.px[i + 1] * opacity + px[i + 1] * inv);
    px[i + 2] = static_cast<float>(top.px[i + 2] * opacity + px[i + 2] * inv);
    px[i + 3] = static_cast<float>(a + px[i + 3] * inv);
  }
}

void Image::MultiplyAlpha(const Mask& mask) {
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      float k = mask.at(x, y);
      float* p = At(x, y);
      for (int i = 0; i < 4; ++i) p[i] *= k;
    }
  }
}

void Image::ClearBottomRow() {
  for (int x = 0; x < w; ++x)
    for (int i = 0; i < 4; ++i) At(x, 0)[i] = 0.f;
}

Mask Image::AlphaMask() const {
  Mask m(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) m.at(x, y) = At(x, y)[3];
  return m;
}

void Image::Blur(double radius) {
  for (int ch = 0; ch < 4; ++ch) {
    Mask m(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) m.at(x, y) = At(x, y)[ch];
    Mask b = BlurMask(m, *this, radius);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) At(x, y)[ch] = b.at(x, y);
  }
}

// ---------------------------------------------------------------------------

Mask ShapeMask(const Image& img, const Sdf& f, double u0, double v0, double u1, double v1,
               double softness) {
  Mask m = img.NewMask();
  int x0 = 0, y0 = 0, x1 = img.w - 1, y1 = img.h - 1;
  if (u1 > u0 && v1 > v0) {
    x0 = std::max(0, img.ToX(u0) - 2);
    y0 = std::max(0, img.ToY(v0) - 2);
    x1 = std::min(img.w - 1, img.ToX(u1) + 2);
    y1 = std::min(img.h - 1, img.ToY(v1) + 2);
  }
  double pix = 0.5 * (img.PixU() + img.PixV()) * softness;
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      double d = f(img.U(x), img.V(y));
      m.at(x, y) = static_cast<float>(dm::Sat(0.5 - d / pix));
    }
  }
  return m;
}

namespace {

void BoxPass(std::vector<float>& data, int n, int stride, int count, int countStride, int r) {
  if (r <= 0) return;
  std::vector<double> line(n);
  double norm = 1.0 / (2 * r + 1);
  for (int c = 0; c < count; ++c) {
    float* base = &data[static_cast<size_t>(c) * countStride];
    for (int i = 0; i < n; ++i) line[i] = base[static_cast<size_t>(i) * stride];
    double sum = 0.0;
    for (int i = -r; i <= r; ++i)
      if (i >= 0 && i < n) sum += line[i];
    for (int i = 0; i < n; ++i) {
      base[static_cast<size_t>(i) * stride] = static_cast<float>(sum * norm);
      int out = i - r, in = i + r + 1;
      if (out >= 0) sum -= line[out];
      if (in < n) sum += line[in];
    }
  }
}

}  // namespace

Mask BlurMaskPx(const Mask& in, double rx, double ry) {
  Mask out = in;
  // Three box passes approximate a Gaussian of deviation about the radius.
  int kx = static_cast<int>(rx * 0.9 + 0.5), ky = static_cast<int>(ry * 0.9 + 0.5);
  for (int pass = 0; pass < 3; ++pass) {
    BoxPass(out.m, out.w, 1, out.h, out.w, kx);
    BoxPass(out.m, out.h, out.w, out.w, 1, ky);
  }
  return out;
}

Mask BlurMask(const Mask& in, const Image& img, double radius) {
  return BlurMaskPx(in, radius / img.PixU(), radius / img.PixV());
}

Mask MaxMask(const Mask& a, const Mask& b) {
  Mask r = a;
  for (size_t i = 0; i < r.m.size(); ++i) r.m[i] = std::max(a.m[i], b.m[i]);
  return r;
}

Mask MinMask(const Mask& a, const Mask& b) {
  Mask r = a;
  for (size_t i = 0; i < r.m.size(); ++i) r.m[i] = std::min(a.m[i], b.m[i]);
  return r;
}

Mask SubMask(const Mask& a, const Mask& b) {
  Mask r = a;
  for (size_t i = 0; i < r.m.size(); ++i) r.m[i] = a.m[i] * (1.f - b.m[i]);
  return r;
}

Mask ScaleMask(const Mask& a, double k) {
  Mask r = a;
  for (auto& v : r.m) v = static_cast<float>(dm::Sat(v * k));
  return r;
}

Mask ShiftMask(const Mask& a, int dx, int dy) {
  Mask r(a.w, a.h);
  for (int y = 0; y < a.h; ++y)
    for (int x = 0; x < a.w; ++x) r.at(x, y) = a.Sample(x - dx, y - dy);
  return r;
}

Mask GrowMask(const Mask& a, const Image& img, double radius) {
  // Blur then re-threshold: cheap, round, and soft at one pixel.
  Mask b = BlurMask(a, img, radius * 0.6);
  Mask r = b;
  for (size_t i = 0; i < r.m.size(); ++i) {
    double v = b.m[i];
    r.m[i] = static_cast<float>(std::max<double>(a.m[i], dm::Smooth(0.04, 0.22, v)));
  }
  return r;
}

Mask FieldMask(const Image& img, const std::function<double(double u, double v)>& field) {
  Mask m = img.NewMask();
  for (int y = 0; y < img.h; ++y)
    for (int x = 0; x < img.w; ++x)
      m.at(x, y) = static_cast<float>(dm::Sat(field(img.U(x), img.V(y))));
  return m;
}

// ---------------------------------------------------------------------------

namespace sdf {

double Circle(double u, double v, double cu, double cv, double r) {
  return dm::Len(u - cu, v - cv) - r;
}

double Box(double u, double v, double cu, double cv, double hw, double hh, double radius) {
  double qx = dm::Abs(u - cu) - hw + radius;
  double qy = dm::Abs(v - cv) - hh + radius;
  double ox = dm::Max(qx, 0.0), oy = dm::Max(qy, 0.0);
  return dm::Len(ox, oy) + dm::Min(dm::Max(qx, qy), 0.0) - radius;
}

double Segment(double u, double v, double au, double av, double bu, double bv, double r) {
  double pu = u - au, pv = v - av, du = bu - au, dv = bv - av;
  double len2 = du * du + dv * dv;
  double t = len2 > 0 ? dm::Sat((pu * du + pv * dv) / len2) : 0.0;
  return dm::Len(pu - du * t, pv - dv * t) - r;
}

double Polygon(double u, double v, const std::vector<double>& p) {
  size_t n = p.size() / 2;
  double d = 1e18;
  bool inside = false;
  for (size_t i = 0, j = n - 1; i < n; j = i++) {
    double xi = p[2 * i], yi = p[2 * i + 1], xj = p[2 * j], yj = p[2 * j + 1];
    double eu = xj - xi, ev = yj - yi, wu = u - xi, wv = v - yi;
    double len2 = eu * eu + ev * ev;
    double t = len2 > 0 ? dm::Sat((wu * eu + wv * ev) / len2) : 0.0;
    double bu = wu - eu * t, bv = wv - ev * t;
    d = dm::Min(d, bu * bu + bv * bv);
    if (((yi > v) != (yj > v)) && (u < (xj - xi) * (v - yi) / (yj - yi) + xi)) inside = !inside;
  }
  double dist = dm::Sqrt(d);
  return inside ? -dist : dist;
}

double Ring(double u, double v, double cu, double cv, double r, double halfWidth) {
  return dm::Abs(dm::Len(u - cu, v - cv) - r) - halfWidth;
}

}  // namespace sdf

Paint Solid(const Rgba& c) {
  return [c](double, double) { return c; };
}

Paint VGradient(const Rgba& bottom, const Rgba& top, double v0, double v1) {
  return [=](double, double v) { return MixRgba(bottom, top, dm::Sat((v - v0) / (v1 - v0))); };
}

Paint HGradient(const Rgba& left, const Rgba& right, double u0, double u1) {
  return [=](double u, double) { return MixRgba(left, right, dm::Sat((u - u0) / (u1 - u0))); };
}

Paint RadialGradient(double cu, double cv, double r, const Rgba& inner, const Rgba& outer) {
  return [=](double u, double v) { return MixRgba(inner, outer, dm::Sat(dm::Len(u - cu, v - cv) / r)); };
}

// ---------------------------------------------------------------------------

namespace {

uint8_t ToByte(double v) {
  v = dm::Sat(v) * 255.0 + 0.5;
  return static_cast<uint8_t>(v >= 255.0 ? 255 : static_cast<int>(v));
}

std::vector<uint8_t> ToPixels(const Image& img, bool withAlpha, bool dither) {
  int bpp = withAlpha ? 4 : 3;
  std::vector<uint8_t> out(static_cast<size_t>(img.w) * img.h * bpp);
  std::vector<uint8_t> alpha(static_cast<size_t>(img.w) * img.h);
  for (int y = 0; y < img.h; ++y) {
    for (int x = 0; x < img.w; ++x) {
      const float* p = img.At(x, y);
      double a = withAlpha ? dm::Sat(p[3]) : 1.0;
      double r = p[0], g = p[1], b = p[2];
      if (withAlpha) {
        if (a > 1e-6) {
          r /= a;
          g /= a;
          b /= a;
        } else {
          r = g = b = 0.0;
        }
      }
      double jitter = 0.0;
      if (dither) jitter = ((Hash3(x, y, 3, 0xD17Eu) & 0xFFFF) / 65536.0 - 0.5) / 255.0;
      size_t i = (static_cast<size_t>(y) * img.w + x) * bpp;
      // Stored blue, green, red (, alpha): the loader swaps bytes 0 and 2.
      out[i] = ToByte(b + jitter);
      out[i + 1] = ToByte(g + jitter);
      out[i + 2] = ToByte(r + jitter);
      if (withAlpha) {
        out[i + 3] = ToByte(a);
        alpha[static_cast<size_t>(y) * img.w + x] = out[i + 3];
      }
    }
  }
  if (!withAlpha) return out;
  // Fully transparent texels next to visible ones take the neighbours'
  // colour: the game filters linearly, and black there would draw a dark
  // fringe round every sprite. Farther texels stay (0,0,0,0) so that the
  // run-length encoding still finds long runs.
  std::vector<uint8_t> filled(alpha.size(), 0);
  for (size_t i = 0; i < alpha.size(); ++i) filled[i] = alpha[i] > 0;
  for (int pass = 0; pass < 3; ++pass) {
    std::vector<uint8_t> next = filled;
    std::vector<uint8_t> snapshot = out;
    for (int y = 0; y < img.h; ++y) {
      for (int x = 0; x < img.w; ++x) {
        size_t k = static_cast<size_t>(y) * img.w + x;
        if (filled[k]) continue;
        double sum[3] = {0, 0, 0}, wsum = 0;
        for (int dy = -1; dy <= 1; ++dy) {
          for (int dx = -1; dx <= 1; ++dx) {
            int nx = x + dx, ny = y + dy;
            if (nx < 0 || ny < 0 || nx >= img.w || ny >= img.h) continue;
            size_t n = static_cast<size_t>(ny) * img.w + nx;
            if (!filled[n]) continue;
            double wgt = alpha[n] > 0 ? alpha[n] / 255.0 + 0.05 : 0.05;
            for (int c = 0; c < 3; ++c) sum[c] += snapshot[n * 4 + c] * wgt;
            wsum += wgt;
          }
        }
        if (wsum <= 0) continue;
        for (int c = 0; c < 3; ++c) out[k * 4 + c] = static_cast<uint8_t>(sum[c] / wsum + 0.5);
        next[k] = 1;
      }
    }
    filled.swap(next);
  }
  return out;
}

void PutHeader(std::vector<uint8_t>& f, int type, int w, int h, int bpp) {
  uint8_t head[18] = {0};
  head[2] = static_cast<uint8_t>(type);
  head[12] = static_cast<uint8_t>(w & 0xFF);
  head[13] = static_cast<uint8_t>(w >> 8);
  head[14] = static_cast<uint8_t>(h & 0xFF);
  head[15] = static_cast<uint8_t>(h >> 8);
  head[16] = static_cast<uint8_t>(bpp * 8);
  // Descriptor: alpha bits, origin bottom-left. The engine ignores it, but
  // other viewers then show the picture the right way up.
  head[17] = static_cast<uint8_t>(bpp == 4 ? 8 : 0);
  f.insert(f.end(), head, head + 18);
}

}  // namespace

std::vector<uint8_t> EncodeTga(const Image& img, bool withAlpha, bool dither) {
  int bpp = withAlpha ? 4 : 3;
  std::vector<uint8_t> pix = ToPixels(img, withAlpha, dither);

  std::vector<uint8_t> raw;
  PutHeader(raw, 2, img.w, img.h, bpp);
  raw.insert(raw.end(), pix.begin(), pix.end());

  std::vector<uint8_t> rle;
  PutHeader(rle, 10, img.w, img.h, bpp);
  auto same = [&](size_t a, size_t b) {
    for (int c = 0; c < bpp; ++c)
      if (pix[a * bpp + c] != pix[b * bpp + c]) return false;
    return true;
  };
  // Repeats shorter than this stay inside literal packets: a run packet saves
  // a few bytes on them, but every packet costs the game's reader about as
  // much as copying ten pixels, and runs of two and three made up most of
  // them (minimum 2: 535,000 packets in play's pictures, 4: 212,000, for
  // a tenth more bytes).
  const int kMinRun = 4;
  auto runAt = [&](size_t start, int left) {
    int run = 1;
    while (run < left && run < 128 && same(start, start + run)) ++run;
    return run;
  };
  // Packets stay within one row, as the format's own documentation asks.
  for (int y = 0; y < img.h; ++y) {
    size_t row = static_cast<size_t>(y) * img.w;
    int x = 0;
    while (x < img.w) {
      int run = runAt(row + x, img.w - x);
      if (run >= kMinRun) {
        rle.push_back(static_cast<uint8_t>(0x80 | (run - 1)));
        for (int c = 0; c < bpp; ++c) rle.push_back(pix[(row + x) * bpp + c]);
        x += run;
        continue;
      }
      int lit = 1;
      while (x + lit < img.w && lit < 128 && runAt(row + x + lit, img.w - x - lit) < kMinRun)
        ++lit;
      rle.push_back(static_cast<uint8_t>(lit - 1));
      for (int i = 0; i < lit; ++i)
        for (int c = 0; c < bpp; ++c) rle.push_back(pix[(row + x + i) * bpp + c]);
      x += lit;
    }
  }
  return rle.size() < raw.size() ? rle : raw;
}

// stb's encoder is deterministic: same pixels, same bytes.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb/stb_image_write.h>

static void AppendBytes(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<uint8_t>*>(context);
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  out->insert(out->end(), bytes, bytes + size);
}

std::vector<uint8_t> EncodePng(const Image& img) {
  std::vector<uint8_t> bgra = ToPixels(img, true, false);
  std::vector<uint8_t> rgba(bgra.size());
  for (int y = 0; y < img.h; ++y) {
    // PNG rows run top to bottom; ours bottom to top.
    const uint8_t* src = &bgra[static_cast<size_t>(img.h - 1 - y) * img.w * 4];
    uint8_t* dst = &rgba[static_cast<size_t>(y) * img.w * 4];
    for (int x = 0; x < img.w; ++x) {
      dst[4 * x] = src[4 * x + 2];
      dst[4 * x + 1] = src[4 * x + 1];
      dst[4 * x + 2] = src[4 * x];
      dst[4 * x + 3] = src[4 * x + 3];
    }
  }
  std::vector<uint8_t> out;
  stbi_write_png_to_func(AppendBytes, &out, img.w, img.h, 4, rgba.data(), img.w * 4);
  return out;
}

std::vector<uint8_t> EncodeBmp(const Image& img) {
  std::vector<uint8_t> bgra = ToPixels(img, true, false);
  const uint32_t headers = 14 + 40, fileSize = headers + static_cast<uint32_t>(bgra.size());
  std::vector<uint8_t> out = {'B', 'M'};
  auto put = [&out](uint32_t value, int bytes) {
    for (int b = 0; b < bytes; ++b) out.push_back(static_cast<uint8_t>(value >> (8 * b)));
  };
  put(fileSize, 4), put(0, 4), put(headers, 4);
  // BITMAPINFOHEADER: 32 bits, no compression; rows already run bottom to top.
  put(40, 4), put(img.w, 4), put(img.h, 4), put(1, 2), put(32, 2), put(0, 4);
  put(static_cast<uint32_t>(bgra.size()), 4), put(2835, 4), put(2835, 4), put(0, 4), put(0, 4);
  out.insert(out.end(), bgra.begin(), bgra.end());
  return out;
}
