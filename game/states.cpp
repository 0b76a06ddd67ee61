// states.cpp -- the table of state callbacks. Screens still being built show
// an empty frame, so the real loop runs from the first state on.
#include "states.h"

#include "gamedata.h"
#include "play/play.h"
#include "vtapplication.h"
#include "vtgraphics.h"

static void EmptyLoad(GameData*) {}
static void EmptyShutdown(GameData*) {}
static void EmptyUnload(GameData*) {}

static void EmptyInit(GameData* data)
{
    GameDataResetSession(data);
}

static void EmptyUpdate(GameData*, float)
{
    VTGraphicsStartDraw();
    VTApplicationShowCursor(0);
    VTGraphicsEndDraw();
}

#define EMPTY_STATE {EmptyLoad, EmptyInit, EmptyUpdate, EmptyShutdown, EmptyUnload}

//                                   Load / Init / Update / Shutdown / Unload
const VTStateFunctions stateTable[STATE_COUNT] = {
    /* STATE_MENU     */ EMPTY_STATE,
    /* STATE_OPTION   */ EMPTY_STATE,
    /* STATE_SELECT   */ EMPTY_STATE,
    /* STATE_PLAY     */ {PlayLoad, PlayInit, PlayUpdate, PlayShutdown, PlayUnload},
    /* STATE_TUTORIAL */ EMPTY_STATE,
    /* STATE_SPLASH   */ EMPTY_STATE,
    /* STATE_LOGO     */ EMPTY_STATE,
    /* STATE_CREDIT   */ EMPTY_STATE,
};
