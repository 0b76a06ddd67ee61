// text.h -- lettering from the DejaVu TrueType fonts, rasterised with
// stb_truetype straight into display-unit coordinates.
#ifndef ASSETGEN_TEXT_H
#define ASSETGEN_TEXT_H

#include <string>

#include "image.h"

enum class FontId { Sans, SansBold, Mono, MonoBold, Serif, SerifBold };

struct TextStyle {
  FontId font = FontId::SansBold;
  double size = 0.1;      // em size in display units
  double tracking = 0.0;  // extra advance per letter, in em
  double xScale = 1.0;    // horizontal stretch (< 1 condenses)
};

// Loads the six fonts; false (with a message) when one is missing.
bool LoadFonts(const std::string& fontDir);

double TextWidth(const TextStyle& st, const std::string& utf8);
// Height of capitals above the baseline, display units.
double CapHeight(const TextStyle& st);
// Coverage mask of a line of text. align: -1 left edge at u, 0 centred on
// u, +1 right edge at u. baseline is the v of the text's baseline.
Mask TextMask(const Image& img, const TextStyle& st, const std::string& utf8, double u,
              double baseline, int align);
// Largest em size (not above st.size) at which the text fits maxWidth.
TextStyle FitWidth(TextStyle st, const std::string& utf8, double maxWidth);

#endif
