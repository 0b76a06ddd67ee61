// collision.h -- what happens when play objects meet. There is no physics
// pass: for every visible object N the play and tutorial Updates call these
// in a fixed order, each checking N's kind and walking the whole list from
// its head. Bullets break obstacles, ships and obstacles bounce off
// breakable obstacles (a costly hit for a ship), planets pull, shrink and
// swallow, and ship 3's wind pushes.
#ifndef COLLISION_H
#define COLLISION_H

#include "objects.h"

// N a bullet (flag 0): strikes every breakable obstacle it overlaps.
void CollideBullet(GameObject* n, GameObject** head, GameData* data);
// N of shipKind: hits breakable obstacles, feels every planet.
void CollideShip(ObjectType* shipKind, GameObject* n, GameObject** head, GameData* data, float dt);
// N of a breakable kind: hits other breakable obstacles, feels planets and wind.
void CollideObstacle(ObjectType* obstacleKind, GameObject* n, GameObject** head, GameData* data, float dt);
// N of a far kind: feels planets only.
void CollideFarObstacle(ObjectType* farKind, GameObject* n, GameObject** head, GameData* data);

// a strikes b: near miss, flashes, separation, elastic bounce, spin, and
// for a ship the cost of the hit.
void HitObstacle(GameObject* a, GameObject* b, GameData* data, float dt);
// Both vanish in three explosions and the score grows, when they touch.
void BulletHitObstacle(GameObject* bullet, GameObject* target, GameData* data);
// Swallows n when it is deep in the planet, else sets the planet's force on n.
void ApplyPlanetPull(GameObject* n, GameObject* planet, GameData* data);

// Kinds the responses tell apart.
int IsBreakableKind(const ObjectType* type);
int IsPlanetKind(const ObjectType* type);
int IsShipKind(const ObjectType* type);

#endif
