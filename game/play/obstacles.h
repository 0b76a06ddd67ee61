// obstacles.h -- what fills space around the ship: the invisible spawners
// that drop obstacles, pickups and decoration as the ship travels, the
// drifting obstacles, the planets and their warning rings.
#ifndef OBSTACLES_H
#define OBSTACLES_H

#include "objects.h"

// Side spawners: Timer number 1 spawns to the right, 2 to the left, anything
// else ahead; Timer time is the distance left until the next spawn.
void AsteroidSpawnerLogic(GameObject* object, GameData* data, float dt);
void FarAsteroidSpawnerLogic(GameObject* object, GameData* data, float dt);
void SatelliteSpawnerLogic(GameObject* object, GameData* data, float dt);
void FarSatelliteSpawnerLogic(GameObject* object, GameData* data, float dt);
void FuelSpawnerLogic(GameObject* object, GameData* data, float dt);
void NebulaSpawnerLogic(GameObject* object, GameData* data, float dt);
void ClusterSpawnerLogic(GameObject* object, GameData* data, float dt);
// Drops one planet ahead of the ship every so many units climbed.
void PlanetSpawnerLogic(GameObject* object, GameData* data, float dt);

// Asteroids, satellites and their parts, nebulae and star clusters.
void DriftingObstacleLogic(GameObject* object, GameData* data, float dt);
void PlanetLogic(GameObject* object, GameData* data, float dt);
// The shrinking, fading ring a planet sends out.
void PlanetWarningLogic(GameObject* object, GameData* data, float dt);

#endif
