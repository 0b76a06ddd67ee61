// gen_records.cpp -- the pictures of the player's records: the records panel
// of the ship-select screen, the "LEVEL" label and the dash that stand beside
// the game's digits, and the game-over screen's "NEW RECORD!" notice.
//
// The game draws the panel's numbers itself from the digit strip
// (Message/dials.tga); the columns painted here line up with the places
// game/frontend/recordspanel.cpp puts them, in units of the panel's height.
#include <string>

#include "assets.h"
#include "dmath.h"
#include "style.h"

namespace {

// The lettering of the digit strip: bold, tall and condensed, light
// blue-grey rising to white, capitals 84 % of the cell high on a baseline at
// 8 %. Words painted this way sit beside the digits as one line.
TextStyle DigitStyle() {
  TextStyle st{FontId::SansBold, 1.0, 0.0, 1.0};
  st.size = 0.84 / CapHeight(st);
  double cellW = 1.0 / 2.6;
  st.xScale = dm::Min(1.0, cellW * 0.8 / TextWidth(st, "0"));
  return st;
}

void FillDigitColour(Image& img, const Mask& m) {
  img.Fill(m, VGradient(Hex(0xd0dbea), pal::kWhite, 0.08, 0.92));
}

void PaintLevelLabel(Image& img) {
  TextStyle st = DigitStyle();
  st.tracking = 0.08;
  st = FitWidth(st, "LEVEL", img.aspect * 0.96);
  FillDigitColour(img, TextMask(img, st, "LEVEL", img.aspect * 0.5, 0.08, 0));
}

// One digit cell wide, like the strip's: a bar at the height of a minus sign.
void PaintDash(Image& img) {
  double cu = img.aspect * 0.5;
  Mask bar = ShapeMask(img, [=](double u, double v) { return sdf::Box(u, v, cu, 0.44, img.aspect * 0.28, 0.045, 0.02); });
  FillDigitColour(img, bar);
}

// Column places, in units of the panel's height (the panel is 1.25 wide).
const double kScoreRight = 0.55, kLevelCentre = 0.70, kDateCentre = 1.00;
const double kRowTop = 0.655, kRowPitch = 0.064;

void PaintRecordsPanel(Image& img) {
  double asp = img.aspect;  // 1.25
  PanelLook look;
  look.opacity = 0.82;
  look.cut = 0.07;
  DrawPanel(img, 0.02, 0.02, asp - 0.02, 0.98, look);
  // Faint bands under every other row; the best run's row glows amber.
  for (int row = 0; row < 10; row += 2) {
    double cv = kRowTop - row * kRowPitch;
    Mask band = ShapeMask(img, [=](double u, double v) { return sdf::Box(u, v, asp * 0.5, cv, asp * 0.5 - 0.06, kRowPitch * 0.48, 0.01); });
    img.Fill(band, row == 0 ? pal::kAmber : pal::kWhite, row == 0 ? 0.12 : 0.05);
  }
  Lettering title;
  title.style = {FontId::SansBold, 0.07, 0.14, 1.0};
  title.fillTop = Hex(0xffe2a8);
  title.fillBottom = pal::kAmber;
  title.glow = pal::kAmber;
  title.glowRadius = 0.012;
  title.glowStrength = 0.45;
  title.outlineWidth = 0.004;
  DrawLettering(img, title, "RECORDS", 0.07, 0.84, -1);
  Lettering best = title;
  best.style = {FontId::SansBold, 0.045, 0.2, 1.0};
  best.glowRadius = 0;
  DrawLettering(img, best, "BEST", 0.78, 0.85, 1);
  Mask line = ShapeMask(img, [=](double u, double v) { return sdf::Box(u, v, asp * 0.5, 0.79, asp * 0.5 - 0.06, 0.0025); });
  img.Fill(line, HGradient(WithAlpha(pal::kAmber, 0.9), WithAlpha(pal::kAmber, 0.1), 0.06, asp - 0.06));
  Lettering head;
  head.style = {FontId::SansBold, 0.036, 0.15, 1.0};
  head.fillTop = head.fillBottom = Hex(0x9fe9ff);
  DrawLettering(img, head, "SCORE", kScoreRight, 0.72, 1);
  DrawLettering(img, head, "LEVEL", kLevelCentre, 0.72, 0);
  DrawLettering(img, head, "DATE", kDateCentre, 0.72, 0);
}

void PaintNewRecord(Image& img) {
  double asp = img.aspect;  // 4
  Lettering l;
  l.style = {FontId::SansBold, 0.5, 0.12, 1.0};
  l.fillTop = Hex(0xfff3d6);
  l.fillBottom = pal::kAmber;
  l.outlineWidth = 0.025;
  l.glow = pal::kAmber;
  l.glowRadius = 0.07;
  l.glowStrength = 0.9;
  l.style = FitWidth(l.style, "NEW RECORD!", asp - 0.3);
  DrawLettering(img, l, "NEW RECORD!", asp * 0.5, 0.5 - CapHeight(l.style) * 0.5, 0);
}

}  // namespace

void AddRecordImages(AssetList& out) {
  const std::string g = "Graphic_Assets/";
  AddPicture(out, g + "Menu/records.tga", 512, 256, 1.25, true, PaintRecordsPanel);
  AddPicture(out, g + "Message/level.tga", 64, 32, 1.7, true, PaintLevelLabel);
  AddPicture(out, g + "Message/dash.tga", 8, 32, 1.0 / 2.6, true, PaintDash);
  AddPicture(out, g + "Message/newrecord.tga", 512, 128, 0, true, PaintNewRecord);
}
