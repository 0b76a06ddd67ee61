#include "text.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "dmath.h"

// stb_truetype's own floating-point helpers are routed to the generator's
// exact versions so glyph coverage does not depend on the C library.
#define STBTT_ifloor(x) (static_cast<int>(std::floor(x)))
#define STBTT_iceil(x) (static_cast<int>(std::ceil(x)))
#define STBTT_sqrt(x) (dm::Sqrt(x))
#define STBTT_pow(x, y) (dm::Pow((x), (y)))
#define STBTT_fmod(x, y) (std::fmod((x), (y)))
#define STBTT_cos(x) (dm::Cos(x))
#define STBTT_acos(x) (dm::Acos(x))
#define STBTT_fabs(x) (dm::Abs(x))
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb/stb_truetype.h>

namespace {

struct Font {
  std::vector<unsigned char> data;
  stbtt_fontinfo info;
  int unitsPerEm = 2048;
};

Font g_fonts[6];

const char* kFiles[6] = {"DejaVuSans.ttf",     "DejaVuSans-Bold.ttf", "DejaVuSansMono.ttf",
                         "DejaVuSansMono-Bold.ttf", "DejaVuSerif.ttf", "DejaVuSerif-Bold.ttf"};

Font& Get(FontId id) { return g_fonts[static_cast<int>(id)]; }

std::vector<int> Decode(const std::string& s) {
  std::vector<int> cps;
  for (size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    int cp = c, extra = 0;
    if (c >= 0xF0) {
      cp = c & 0x07;
      extra = 3;
    } else if (c >= 0xE0) {
      cp = c & 0x0F;
      extra = 2;
    } else if (c >= 0xC0) {
      cp = c & 0x1F;
      extra = 1;
    }
    ++i;
    for (int k = 0; k < extra && i < s.size(); ++k, ++i)
      cp = (cp << 6) | (static_cast<unsigned char>(s[i]) & 0x3F);
    cps.push_back(cp);
  }
  return cps;
}

// Scale from font units to display units (em = st.size).
double UnitScale(const TextStyle& st) { return st.size / Get(st.font).unitsPerEm; }

}  // namespace

bool LoadFonts(const std::string& dir) {
  for (int i = 0; i < 6; ++i) {
    std::string path = dir + "/" + kFiles[i];
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
      std::fprintf(stderr, "kelvaro-assetgen: cannot open font %s\n", path.c_str());
      return false;
    }
    std::vector<unsigned char> bytes;
    unsigned char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + n);
    std::fclose(f);
    g_fonts[i].data = bytes;
    if (!stbtt_InitFont(&g_fonts[i].info, g_fonts[i].data.data(), 0)) {
      std::fprintf(stderr, "kelvaro-assetgen: %s is not a usable font\n", path.c_str());
      return false;
    }
    // unitsPerEm sits in the 'head' table at offset 18.
    int head = static_cast<int>(stbtt__find_table(g_fonts[i].data.data(), 0, "head"));
    g_fonts[i].unitsPerEm = (g_fonts[i].data[head + 18] << 8) | g_fonts[i].data[head + 19];
  }
  return true;
}

double TextWidth(const TextStyle& st, const std::string& utf8) {
  Font& f = Get(st.font);
  std::vector<int> cps = Decode(utf8);
  double k = UnitScale(st) * st.xScale;
  double wdt = 0.0;
  for (size_t i = 0; i < cps.size(); ++i) {
    int adv, lsb;
    stbtt_GetCodepointHMetrics(&f.info, cps[i], &adv, &lsb);
    wdt += adv * k;
    if (i + 1 < cps.size()) {
      wdt += stbtt_GetCodepointKernAdvance(&f.info, cps[i], cps[i + 1]) * k;
      wdt += st.tracking * st.size * st.xScale;
    }
  }
  return wdt;
}

double CapHeight(const TextStyle& st) { return st.size * 0.729; }

TextStyle FitWidth(TextStyle st, const std::string& utf8, double maxWidth) {
  double wdt = TextWidth(st, utf8);
  if (wdt > maxWidth) st.size *= maxWidth / wdt;
  return st;
}

Mask TextMask(const Image& img, const TextStyle& st, const std::string& utf8, double u,
              double baseline, int align) {
  Mask m = img.NewMask();
  Font& f = Get(st.font);
  std::vector<int> cps = Decode(utf8);
  double width = TextWidth(st, utf8);
  double start = align < 0 ? u : (align == 0 ? u - width * 0.5 : u - width);
  double pxPerU = img.w / img.aspect, pxPerV = img.h;
  double unit = UnitScale(st);
  float scaleY = static_cast<float>(unit * pxPerV);
  float scaleX = static_cast<float>(unit * st.xScale * pxPerU);

  double pen = start;  // display units
  double baseY = baseline * pxPerV;
  int baseYi = static_cast<int>(std::floor(baseY)) + 1;
  float shiftY = static_cast<float>(baseYi - baseY);
  std::vector<unsigned char> glyph;
  for (size_t i = 0; i < cps.size(); ++i) {
    double penPx = pen * pxPerU;
    int penXi = static_cast<int>(std::floor(penPx));
    float shiftX = static_cast<float>(penPx - penXi);
    int x0, y0, x1, y1;
    stbtt_GetCodepointBitmapBoxSubpixel(&f.info, cps[i], scaleX, scaleY, shiftX, shiftY, &x0, &y0, &x1, &y1);
    int gw = x1 - x0, gh = y1 - y0;
    if (gw > 0 && gh > 0) {
      glyph.assign(static_cast<size_t>(gw) * gh, 0);
      stbtt_MakeCodepointBitmapSubpixel(&f.info, glyph.data(), gw, gh, gw, scaleX, scaleY, shiftX, shiftY,
                                        cps[i]);
      for (int r = 0; r < gh; ++r) {
        int py = baseYi - (y0 + r) - 1;
        if (py < 0 || py >= img.h) continue;
        for (int c = 0; c < gw; ++c) {
          int pxx = penXi + x0 + c;
          if (pxx < 0 || pxx >= img.w) continue;
          float v = glyph[static_cast<size_t>(r) * gw + c] / 255.f;
          float& dst = m.at(pxx, py);
          dst = dst + v - dst * v;  // overlapping glyphs union
        }
      }
    }
    int adv, lsb;
    stbtt_GetCodepointHMetrics(&f.info, cps[i], &adv, &lsb);
    pen += adv * unit * st.xScale;
    if (i + 1 < cps.size()) {
      pen += stbtt_GetCodepointKernAdvance(&f.info, cps[i], cps[i + 1]) * unit * st.xScale;
      pen += st.tracking * st.size * st.xScale;
    }
  }
  return m;
}
