// combo.h -- the colour a combo value is shown in, shared by the combo
// display and the popup a finished near miss leaves.
#ifndef COMBO_H
#define COMBO_H

#include "objects.h"

// Sets the appearance's colour bytes for value; the two top bands shimmer
// (drawn anew at every call), 10000 and more leave the colour as it is.
void SetComboColour(Appearance* appearance, int value);

#endif
