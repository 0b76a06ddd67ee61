// background.h -- the tiler that keeps the background picture under the
// whole view. It heads the play list and is used by the front-end screens.
#ifndef BACKGROUND_H
#define BACKGROUND_H

#include "objects.h"

// Lays StaticBackgroundType tiles on a grid anchored at the tiler's own
// position so that every cell of the current view holds exactly one.
void BackgroundTileLogic(GameObject* tiler, GameData* data, float dt);

#endif
