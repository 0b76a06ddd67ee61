// credits.h -- the credits screen (STATE_CREDIT): the credit roll rises for
// 13 s, then the main menu returns; escape or pad back returns earlier.
// No sound.
#ifndef CREDITS_H
#define CREDITS_H

#include "objects.h"

// The screen's list head; null outside the state.
extern GameObject* creditList;

extern ObjectType CreditImageType;

void CreditLoad(GameData* data);
void CreditInit(GameData* data);
// Counts stateTimer; past 13 s the main menu follows (no loading cover).
void CreditUpdate(GameData* data, float dt);
void CreditShutdown(GameData* data);
void CreditUnload(GameData* data);

// Rises 70 pixels per second at every resolution.
void CreditImageLogic(GameObject* image, GameData* data, float dt);

#endif
