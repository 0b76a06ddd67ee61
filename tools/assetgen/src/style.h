// style.h -- Kelvaro's look: one palette and the interface pieces that every
// screen shares (glass panels, glowing lettering, key caps and pad buttons),
// so the menus, the tutorial and the game-over screen read as one game.
#ifndef ASSETGEN_STYLE_H
#define ASSETGEN_STYLE_H

#include <string>

#include "image.h"
#include "text.h"

namespace pal {
extern const Rgba kInk;      // deepest space blue, near black
extern const Rgba kNavy;     // panel body
extern const Rgba kNavyHi;   // panel top
extern const Rgba kCyan;     // interface light
extern const Rgba kTeal;
extern const Rgba kAmber;    // emphasis, keys to press
extern const Rgba kMagenta;  // nebula accent
extern const Rgba kWhite;
extern const Rgba kRed;
extern const Rgba kGreen;
}  // namespace pal

// Chamfered (cut-corner) rectangle, the frame shape of every panel.
double ChamferBox(double u, double v, double cu, double cv, double hw, double hh, double cut);

struct PanelLook {
  Rgba top = pal::kNavyHi;
  Rgba bottom = pal::kNavy;
  double opacity = 0.86;
  Rgba rim = pal::kCyan;
  double rimWidth = 0.0;   // display units; 0 = automatic
  double cut = 0.0;        // chamfer; 0 = automatic
  double glow = 1.0;       // outer glow strength
};

// A glass panel filling the box (u0, v0)-(u1, v1).
void DrawPanel(Image& img, double u0, double v0, double u1, double v1, const PanelLook& look = PanelLook());

// Lettering with a dark outline and a soft coloured glow behind it.
struct Lettering {
  TextStyle style;
  Rgba fillTop = pal::kWhite;
  Rgba fillBottom = pal::kWhite;
  Rgba outline = {0.02, 0.03, 0.09, 0.9};
  double outlineWidth = 0.0;  // display units
  Rgba glow = pal::kCyan;
  double glowRadius = 0.0;    // display units; 0 = none
  double glowStrength = 0.8;
  double shadow = 0.0;        // drop shadow offset, display units
};
// Draws one line; returns the mask of the letters.
Mask DrawLettering(Image& img, const Lettering& l, const std::string& text, double u, double baseline,
                   int align);

// Rich help text: "[SPACE]" is a key cap, "{A}" a pad button (A, B, X, Y,
// LB, RB, LT, RT, START, BACK, DPAD, STICK), "*word*" is emphasised. Lines
// are separated by '\n'. The block is centred vertically on cv; align as in
// TextMask, horizontally at u.
struct RichLook {
  TextStyle style{FontId::SansBold, 0.1, 0.0, 1.0};
  Rgba text = pal::kWhite;
  Rgba accent = pal::kAmber;
  double lineGap = 1.45;  // baseline distance in em
  bool shadow = true;
};
double RichWidth(const RichLook& look, const std::string& line);
void DrawRich(Image& img, const RichLook& look, const std::string& markup, double u, double cv, int align);

// Soft star sprinkle over the whole picture (decorative panels).
void Sparkle(Image& img, uint32_t seed, int count, double maxRadius, const Rgba& c);

#endif
