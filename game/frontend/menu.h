// menu.h -- the main menu (STATE_MENU): title, four buttons and the
// highlight bar; also the loading cover every screen change from a menu puts
// up, and the quit and back buttons other screens share.
#ifndef MENU_H
#define MENU_H

#include "objects.h"

// The menu's list head; null outside the state.
extern GameObject* menuList;

extern ObjectType MenuTutorialType, MenuTutorial2Type, MenuTitleType, MenuCursorType, MenuBlackHoleType;
extern ObjectType StartButtonType, OptionButtonType, CreditButtonType;
// Loaded by the options, ship-select and credits screens.
extern ObjectType BackButtonType;

void MenuLoad(GameData* data);
// Reads the tutorial and unlock files, sets level 1, resets the record,
// builds the list and starts the menu music.
void MenuInit(GameData* data);
// The 7+8 reset, escape / pad back to quit, navigation over four rows, then
// the walk. The tiler lays the background in the first frame only.
void MenuUpdate(GameData* data, float dt);
void MenuShutdown(GameData* data);
void MenuUnload(GameData* data);

void MenuCursorLogic(GameObject* cursor, GameData* data, float dt);
// The buttons find their row in timer->number. Selected and confirmed, each
// plays the confirm sound, puts up the loading cover and picks its state.
void StartButtonLogic(GameObject* button, GameData* data, float dt);
void OptionButtonLogic(GameObject* button, GameData* data, float dt);
void CreditButtonLogic(GameObject* button, GameData* data, float dt);
// Sized like the others; selected and confirmed, ends the program.
void QuitButtonLogic(GameObject* button, GameData* data, float dt);
// Escape or pad back: the loading cover, then the main menu. Never moves.
void BackButtonLogic(GameObject* button, GameData* data, float dt);

// Dims the screen and shows the loading picture in the bottom-right corner,
// both inserted directly behind anchor (the dim first), so the rest of the
// frame draws them before the next state's Load holds the screen.
// Needs BlackScreenType and LoadingScreenType loaded.
void AddLoadingCover(GameObject* anchor, GameData* data);

#endif
