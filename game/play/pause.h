// pause.h -- the pause menu over play: a dark cover, resume / main menu /
// quit, and the highlight that carries out the choice.
#ifndef PAUSE_H
#define PAUSE_H

#include "objects.h"

// The items show by their size, never by visibility.
void PauseItemLogic(GameObject* item, GameData* data, float dt);
void PauseCursorLogic(GameObject* cursor, GameData* data, float dt);

#endif
