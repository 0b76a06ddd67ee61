// menuinput.h -- the answers every menu-like screen asks of the keys, pad
// buttons and sticks, so all of them react alike and repeat a held
// direction at the same rate.
#ifndef MENUINPUT_H
#define MENUINPUT_H

#include "gamedata.h"

enum
{
    MENU_NONE = 0,
    MENU_CONFIRM = 1,
    MENU_BACK = 2
};

enum
{
    MENU_DIR_NONE = 0,
    MENU_DIR_UP = 1,
    MENU_DIR_DOWN = 2,
    MENU_DIR_LEFT = 3,
    MENU_DIR_RIGHT = 4
};

// MENU_CONFIRM, MENU_BACK or MENU_NONE for this frame.
int MenuReadConfirm(void);
// The direction pointed by the left stick, else the right stick, else the
// held keys and d-pad.
int MenuReadDirection(void);
// Left or right from the sticks only.
int MenuReadStickLeftRight(void);
// Called once a frame: first or second when the screen should act on it now,
// else MENU_DIR_NONE. A fresh press acts at once, a held direction every 15
// frames (the timer counts calls, not seconds); in the 15 frames after the
// record's reset nothing acts.
int MenuRepeatDirection(GameData* data, int first, int second);
// menuRepeatTimer at or past this lets a direction act (15 calls of 0.1).
static const float MENU_REPEAT_WAIT = 1.5f;
// Moves menuIndex through rows 1..rowCount with up and down, wrapping, at
// the pace of MenuRepeatDirection.
void MenuNavigate(GameData* data, int rowCount);

#endif
