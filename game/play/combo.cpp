// combo.cpp -- the combo colour bands.
#include "combo.h"

#include "vtmath.h"

static void Colour(Appearance* a, int red, int green, int blue)
{
    a->red = (unsigned char)red;
    a->green = (unsigned char)green;
    a->blue = (unsigned char)blue;
}

void SetComboColour(Appearance* appearance, int value)
{
    if (value < 10) {
        Colour(appearance, 180, 180, 180);
    } else if (value < 50) {
        Colour(appearance, 255, 248, 211);
    } else if (value < 100) {
        Colour(appearance, 197, 247, 255);
    } else if (value < 300) {
        Colour(appearance, 0, 255, 94);
    } else if (value < 500) {
        Colour(appearance, 0, 106, 255);
    } else if (value < 1000) {
        Colour(appearance, 215, 40, 40);
    } else if (value < 5000) {
        int red = 56 + VTRandomInt(0, 10);
        int green = VTRandomInt(0, 10);
        int blue = 113 + VTRandomInt(0, 10);
        Colour(appearance, red, green, blue);
    } else if (value < 10000) {
        int red = VTRandomInt(150, 255);
        int green = VTRandomInt(150, 255);
        int blue = VTRandomInt(150, 255);
        Colour(appearance, red, green, blue);
    }
}
