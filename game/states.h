// states.h -- the game's states, in the order they are registered: the order
// gives the ids every state passes to VTSMSetNextState.
#ifndef STATES_H
#define STATES_H

#include "vtstatemanager.h"

enum
{
    STATE_MENU = 0,
    STATE_OPTION = 1,
    STATE_SELECT = 2,
    STATE_PLAY = 3,
    STATE_TUTORIAL = 4,
    STATE_SPLASH = 5,
    STATE_LOGO = 6,
    STATE_CREDIT = 7,
    STATE_COUNT = 8
};

// The callbacks of each state, indexed by id.
extern const VTStateFunctions stateTable[STATE_COUNT];

#endif
