// states.cpp -- the table of state callbacks, in registration order.
#include "states.h"

#include "gamedata.h"
#include "frontend/credits.h"
#include "frontend/menu.h"
#include "frontend/options.h"
#include "frontend/select.h"
#include "frontend/splash.h"
#include "play/play.h"
#include "play/tutorial.h"

//                                   Load / Init / Update / Shutdown / Unload
const VTStateFunctions stateTable[STATE_COUNT] = {
    /* STATE_MENU     */ {MenuLoad, MenuInit, MenuUpdate, MenuShutdown, MenuUnload},
    /* STATE_OPTION   */ {OptionLoad, OptionInit, OptionUpdate, OptionShutdown, OptionUnload},
    /* STATE_SELECT   */ {SelectLoad, SelectInit, SelectUpdate, SelectShutdown, SelectUnload},
    /* STATE_PLAY     */ {PlayLoad, PlayInit, PlayUpdate, PlayShutdown, PlayUnload},
    /* STATE_TUTORIAL */ {TutorialLoad, TutorialInit, TutorialUpdate, TutorialShutdown, PlayUnload},
    /* STATE_SPLASH   */ {SplashLoad, SplashInit, SplashUpdate, SplashShutdown, SplashUnload},
    /* STATE_LOGO     */ {LogoLoad, LogoInit, LogoUpdate, LogoShutdown, LogoUnload},
    /* STATE_CREDIT   */ {CreditLoad, CreditInit, CreditUpdate, CreditShutdown, CreditUnload},
};
