// play.h -- the flight state: builds the world around the chosen ship, runs
// and draws every object each frame, applies the collision responses and
// toggles the pause menu. The tutorial shares its Load and Unload.
#ifndef PLAY_H
#define PLAY_H

#include "objects.h"
#include "vtmath.h"

extern GameObject* playList;

void PlayLoad(GameData* data);
void PlayInit(GameData* data);
void PlayUpdate(GameData* data, float dt);
void PlayShutdown(GameData* data);
void PlayUnload(GameData* data);

// 1+2 pressed together double the combo, 3+4 held open the warp, 5+6
// pressed together add 10000 points.
void ApplyCheatKeys(GameData* data);
// The responses of every kind, with n as the tested object.
void RunCollisionResponses(GameObject* n, GameObject** head, GameData* data, float dt);

// Frees n's successor when it is a background tile outside the window-sized
// rectangle (pixels taken as world units) around centre.
void CullBackgroundTile(GameObject* n, const VTVec2* centre, const GameData* data);

#endif
