// frame_floats.h -- checks every float of the game record and of every
// object in the running state's list.
#ifndef FRAME_FLOATS_H
#define FRAME_FLOATS_H

#include <stddef.h>

#include "gamedata.h"

// Describes the first NaN or infinity into what ("" when none); returns the
// number of objects in the list.
int CheckFrameFloats(GameData* data, char* what, size_t size);

#endif
