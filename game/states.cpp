// states.cpp -- the table of state callbacks. Screens still being built show
// an empty frame, so the real loop runs from the first state on.
#include "states.h"

#include "gamedata.h"
#include "frontend/credits.h"
#include "frontend/menu.h"
#include "frontend/options.h"
#include "frontend/select.h"
#include "frontend/splash.h"
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
    /* STATE_MENU     */ {MenuLoad, MenuInit, MenuUpdate, MenuShutdown, MenuUnload},
    /* STATE_OPTION   */ {OptionLoad, OptionInit, OptionUpdate, OptionShutdown, OptionUnload},
    /* STATE_SELECT   */ {SelectLoad, SelectInit, SelectUpdate, SelectShutdown, SelectUnload},
    /* STATE_PLAY     */ {PlayLoad, PlayInit, PlayUpdate, PlayShutdown, PlayUnload},
    /* STATE_TUTORIAL */ EMPTY_STATE,
    /* STATE_SPLASH   */ {SplashLoad, SplashInit, SplashUpdate, SplashShutdown, SplashUnload},
    /* STATE_LOGO     */ {LogoLoad, LogoInit, LogoUpdate, LogoShutdown, LogoUnload},
    /* STATE_CREDIT   */ {CreditLoad, CreditInit, CreditUpdate, CreditShutdown, CreditUnload},
};
