// select.h -- the ship-select screen (STATE_SELECT): the ship of shipType on
// a board, browsed left and right in a ring; a locked ship shows how to
// unlock it and cannot be confirmed. Confirming starts the tutorial while it
// is pending, else play.
#ifndef SELECT_H
#define SELECT_H

#include "objects.h"

// The screen's list head; null outside the state.
extern GameObject* selectList;

extern ObjectType Unlock2Type, Unlock3Type, Ship1InfoType, Ship2InfoType, Ship3InfoType;
extern ObjectType SelectBoardType, SelectTutorialType, SelectTutorial2Type, LeftArrowType, RightArrowType;
extern ObjectType SelectShip1Type, SelectShip2Type, SelectShip3Type;

void SelectLoad(GameData* data);
// Browsing ignores directions for the first 15 frames. Reads the unlock file.
void SelectInit(GameData* data);
void SelectUpdate(GameData* data, float dt);
void SelectShutdown(GameData* data);
void SelectUnload(GameData* data);

// Shows shipType and browses: right 1 -> 2 -> 3 -> 1, left the other way.
void SelectShipLogic(GameObject* ship, GameData* data, float dt);
// Red while the arrow key is held, else white.
void LeftArrowLogic(GameObject* arrow, GameData* data, float dt);
void RightArrowLogic(GameObject* arrow, GameData* data, float dt);
// Confirms the ship on display when it is unlocked ('2' in unlockedShips).
void SelectBoardLogic(GameObject* board, GameData* data, float dt);
void ShipInfoLogic(GameObject* info, GameData* data, float dt);
// Shown while the ship on display is locked.
void UnlockMessageLogic(GameObject* message, GameData* data, float dt);

#endif
