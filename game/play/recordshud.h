// recordshud.h -- what play shows of the records: the level being flown,
// under the running score in the same digits, and the game-over screen's
// "NEW RECORD!" when the run beat its ship's best.
#ifndef RECORDSHUD_H
#define RECORDSHUD_H

#include "objects.h"

extern ObjectType LevelBoxType, NewRecordType;

// The play and tutorial Load and Unload: the two types above.
void LoadRecordsHudTypes(void);
void UnloadRecordsHudTypes(void);

// The "LEVEL" label; each frame it notes the level in levelReached, places
// itself and adds the level's digits (score digits, gone the next frame)
// while a level is flown, and hides once the ship is lost. Play only.
void LevelBoxLogic(GameObject* box, GameData* data, float dt);
// Where the level line goes on a W x H screen: centre y and digit height, in pixels.
void LevelLinePlace(float W, float H, float* y, float* height);

// Game-over screen: when the run just recorded beat its ship's best, adds the
// notice after anchor, above the title and clear of the unlock board.
void AddNewRecordNotice(GameObject* anchor, GameData* data);
// Shows the notice with the score board's digits, glowing gently.
void NewRecordLogic(GameObject* notice, GameData* data, float dt);

#endif
