// ship.h -- the player's ship and what belongs to it: flight, the warp-out,
// ship 3's cover, the thruster flame, the shield flash, ship 2's bullets,
// ship 3's wind and ship 1's afterimage trail. The ship also runs the
// camera and publishes its position, size and heading in the game record.
#ifndef SHIP_H
#define SHIP_H

#include "objects.h"

enum
{
    ACTION_NONE = 0,
    ACTION_THRUST = 1,
    ACTION_LEFT = 2,
    ACTION_RIGHT = 3,
    ACTION_ABILITY = 4,
    ACTION_BACK = 5,
    ACTION_RETRY = 6
};

// The ship of the record's type, nose up, at the origin, directly after the anchor.
void AddShip(GameObject** anchor, const GameData* data);

void ShipLogic(GameObject* ship, GameData* data, float dt);
void ShipWarpLogic(GameObject* ship, GameData* data, float dt);
void Ship3CoverLogic(GameObject* cover, GameData* data, float dt);
void FireLogic(GameObject* fire, GameData* data, float dt);
void ShieldLogic(GameObject* shield, GameData* data, float dt);
void BulletLogic(GameObject* bullet, GameData* data, float dt);
void WindLogic(GameObject* wind, GameData* data, float dt);
void Ship1TrailEmitterLogic(GameObject* emitter, GameData* data, float dt);

// The three control steps of ShipLogic.
void ShipSteering(GameObject* ship, GameData* data, float dt);
void ShipThrustControl(GameObject* ship, GameData* data);
void ShipAbility(GameObject* ship, GameData* data, float dt);

// 1 in the frame of a pull of the right trigger, to every caller of that
// frame; it must come back to half way or less before the next pull counts.
int RightTriggerPulled(void);
// What the player is asking for this frame, first match wins (ACTION_*).
int ReadActionInput(void);

// Clears the module's latches (near miss, trail, trigger) as a fresh
// program start would have them.
void ShipResetLatches(void);

#endif
