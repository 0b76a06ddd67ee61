// blackhole.h -- the two ends of a level: the black hole creeping up from
// below with its warning banner, and the warp streaks of the climb out.
#ifndef BLACKHOLE_H
#define BLACKHOLE_H

#include "objects.h"

// Raises the chase line 80 units a second (kept in the next node's timer),
// publishes blackHoleDistance and ends the run once it falls below 0.
void BlackHoleLogic(GameObject* blackHole, GameData* data, float dt);
// Blinks twice when the black hole comes within 100, then fades out.
void BlackHoleWarningLogic(GameObject* banner, GameData* data, float dt);
// A warp streak (the front or one it drops) centred at (x, y): wider than
// the view, as high as the window, half see-through.
GameObject* AddWarpStreak(GameObject** anchor, ObjectType* kind, float x, float y, const GameData* data);
// The warp front parked above the view until the climb, dropping streaks.
void WarpLogic(GameObject* warp, GameData* data, float dt);

#endif
