// select.cpp -- the ship-select state and the objects that follow shipType.
// Owns selectList.
#include "select.h"

#include <stddef.h>

#include "menu.h"
#include "menuinput.h"
#include "recordspanel.h"
#include "savedfiles.h"
#include "screens.h"
#include "soundbank.h"
#include "states.h"
#include "vtapplication.h"
#include "vtgraphics.h"
#include "vtinput.h"
#include "vtmath.h"

GameObject* selectList;

ObjectType Unlock2Type, Unlock3Type, Ship1InfoType, Ship2InfoType, Ship3InfoType;
ObjectType SelectBoardType, SelectTutorialType, SelectTutorial2Type, LeftArrowType, RightArrowType;
ObjectType SelectShip1Type, SelectShip2Type, SelectShip3Type;

// The objects that follow shipType change type each frame; each family
// shares one logic so the behaviour stays while the picture changes.
static const ScreenType selectTypes[] = {
    {&DummyType, "Graphic_Assets\\test.tga", NULL},
    {&Unlock2Type, "Graphic_Assets\\Message\\unlock2.tga", UnlockMessageLogic},
    {&Unlock3Type, "Graphic_Assets\\Message\\unlock3.tga", UnlockMessageLogic},
    {&Ship1InfoType, "Graphic_Assets\\Message\\ship1expl.tga", ShipInfoLogic},
    {&Ship2InfoType, "Graphic_Assets\\Message\\ship2expl.tga", ShipInfoLogic},
    {&Ship3InfoType, "Graphic_Assets\\Message\\ship3expl.tga", ShipInfoLogic},
    {&SelectBoardType, "Graphic_Assets\\Menu\\selectboard.tga", SelectBoardLogic},
    {&SelectTutorialType, "Graphic_Assets\\Message\\SelectTutorial.tga", NULL},
    {&SelectTutorial2Type, "Graphic_Assets\\Message\\SelectTutorial2.tga", NULL},
    {&BackButtonType, "Graphic_Assets\\Message\\BackButton.tga", BackButtonLogic},
    {&LeftArrowType, "Graphic_Assets\\Menu\\left.tga", LeftArrowLogic},
    {&RightArrowType, "Graphic_Assets\\Menu\\right.tga", RightArrowLogic},
    {&SelectShip1Type, "Graphic_Assets\\SpaceShip\\ship1.tga", SelectShipLogic},
    {&SelectShip2Type, "Graphic_Assets\\SpaceShip\\ship2.tga", SelectShipLogic},
    {&SelectShip3Type, "Graphic_Assets\\SpaceShip\\ultimateship3.tga", SelectShipLogic},
    {&BlackScreenType, "Graphic_Assets\\black.tga", NULL},
    {&LoadingScreenType, "Graphic_Assets\\Menu\\Loading.tga", NULL},
    // The records panel, beside the ship on display.
    {&RecordsPanelType, "Graphic_Assets\\Menu\\records.tga", RecordsPanelLogic},
    {&RecordDigitType, "Graphic_Assets\\Message\\dials.tga", NULL},
    {&RecordDashType, "Graphic_Assets\\Message\\dash.tga", NULL},
};
static const int selectTypeCount = (int)(sizeof selectTypes / sizeof selectTypes[0]);

// Ship 3 is drawn square, ships 1 and 2 half as high as wide.
static float ShipHeight(int shipType, float W)
{
    return shipType == 3 ? W / 5.0f : W / 10.0f;
}

// '2' is the only unlocked stage here: '1' waits for the game-over screen
// to announce the ship. Ship 1 is always free.
static int ShipUnlocked(const GameData* data, int shipType)
{
    int unlocked = 0;
    if (shipType == 1)
        unlocked = 1;
    else if (shipType == 2)
        unlocked = data->unlockedShips[0] == '2';
    else if (shipType == 3)
        unlocked = data->unlockedShips[1] == '2';
    return unlocked;
}

void SelectLoad(GameData*)
{
    LoadScreenTypes(selectTypes, selectTypeCount);
}

// After the records panel.
static const PlacementRow selectRows[] = {
    {&Unlock2Type, PLACE_SCREEN | PLACE_HIDDEN, OfW(1, 2), OfH(20, 42), OfH(2, 3), OfH(2, 3)},
    {&Ship1InfoType, PLACE_SCREEN, OfW(25, 40), OfH(9, 40), OfW(7, 12), OfW(7, 48)},
    {&SelectBoardType, PLACE_SCREEN, OfW(1, 2), OfH(19, 21), OfH(3, 4), OfH(3, 2)},
    {&SelectTutorialType, PLACE_SCREEN, OfW(1, 4), OfW(1, 32), OfW(1, 2), OfW(1, 16)},
    {&SelectTutorial2Type, PLACE_SCREEN, OfW(1, 4), OfW(1, 16), OfW(1, 2), OfW(1, 16)},
    // Never drawn: it only listens for escape and pad back.
    {&BackButtonType, PLACE_SCREEN | PLACE_HIDDEN, 0.0f, 0.0f, 10.0f, 10.0f},
    {&RightArrowType, PLACE_SCREEN | PLACE_APPEARANCE, OfW(4, 5), OfH(2, 3), OfW(1, 15), OfH(1, 6)},
    {&LeftArrowType, PLACE_SCREEN | PLACE_APPEARANCE, OfW(1, 5), OfH(2, 3), OfW(1, 15), OfH(1, 6)},
};

static void BuildSelectList(GameData* data)
{
    float W = data->screenWidth;
    float H = data->screenHeight;
    AddScreenObject(&selectList, &DummyType, 0.0f, 0.0f, 0.0f, 0.0f);
    // Created first, so drawn last: over the board's edge.
    AddRecordsPanel(&selectList, data);
    PlaceRows(&selectList, selectRows, data);
    GameObject* ship = AddScreenObject(&selectList, &SelectShip1Type, W / 2.0f, 15.0f * H / 25.0f, W / 5.0f,
                                       ShipHeight(data->shipType, W));
    ship->transform->rotation = VT_HALF_PI;
    AddAppearance(ship);
}

void SelectInit(GameData* data)
{
    // menuRepeatTimer keeps the reset's 0: browsing waits 15 frames.
    GameDataResetSession(data);
    data->menuIndex = 1;
    BuildSelectList(data);
    if (data->soundOn == 1) {
        SoundBankInit();
        SoundPlay(MainSoundSystem, MenuMusicSound, &MenuMusicChannel);
    }
    LoadUnlockShipFile(data);
}

// List order runs ship, arrows, back button, panels, board, description,
// unlock message: a browse is confirmed and described in the same frame.
void SelectUpdate(GameData* data, float dt)
{
    ResetSavedFilesOnChord();
    VTGraphicsStartDraw();
    VTApplicationShowCursor(0);
    WalkScreenObjects(selectList, data, dt);
    VTGraphicsEndDraw();
}

void SelectShutdown(GameData*)
{
    SoundBankRelease();
    FreeObjectList(&selectList);
}

void SelectUnload(GameData*)
{
    UnloadScreenTypes(selectTypes, selectTypeCount);
}

static ObjectType* ShipPicture(int shipType, ObjectType* current)
{
    static ObjectType* const pictures[3] = {&SelectShip1Type, &SelectShip2Type, &SelectShip3Type};
    return shipType >= 1 && shipType <= 3 ? pictures[shipType - 1] : current;
}

void SelectShipLogic(GameObject* ship, GameData* data, float)
{
    ship->type = ShipPicture(data->shipType, ship->type);
    int direction = MenuRepeatDirection(data, MENU_DIR_LEFT, MENU_DIR_RIGHT);
    int from = data->shipType;
    if (direction != MENU_DIR_NONE && from >= 1 && from <= 3) {
        // Locked ships are shown like the others.
        data->shipType = direction == MENU_DIR_RIGHT ? from % 3 + 1 : (from + 1) % 3 + 1;
        if (data->soundOn == 1)
            SoundPlaySelecting();
        ship->type = ShipPicture(data->shipType, ship->type);
        ship->transform->scaleX = data->screenWidth / 5.0f;
        ship->transform->scaleY = ShipHeight(data->shipType, data->screenWidth);
    }
}

// Only the keyboard's arrow keys light the arrows.
static void LightArrow(GameObject* arrow, int key)
{
    unsigned char shade = VTInputIsPressed(key) ? 0 : 255;
    arrow->appearance->red = 255;
    arrow->appearance->green = shade;
    arrow->appearance->blue = shade;
}

void LeftArrowLogic(GameObject* arrow, GameData*, float)
{
    LightArrow(arrow, VT_KEY_LEFT);
}

void RightArrowLogic(GameObject* arrow, GameData*, float)
{
    LightArrow(arrow, VT_KEY_RIGHT);
}

void SelectBoardLogic(GameObject* board, GameData* data, float)
{
    // A locked ship is refused silently: its unlock picture says why.
    if (ShipUnlocked(data, data->shipType) && MenuReadConfirm() == MENU_CONFIRM) {
        AddLoadingCover(board, data);
        VTSMSetNextState(data->tutorialPending == 1 ? STATE_TUTORIAL : STATE_PLAY);
    }
}

void ShipInfoLogic(GameObject* info, GameData* data, float)
{
    static ObjectType* const infos[3] = {&Ship1InfoType, &Ship2InfoType, &Ship3InfoType};
    if (data->shipType >= 1 && data->shipType <= 3)
        info->type = infos[data->shipType - 1];
}

void UnlockMessageLogic(GameObject* message, GameData* data, float)
{
    message->visible = 0;
    if (data->shipType == 2 && !ShipUnlocked(data, 2)) {
        message->type = &Unlock2Type;
        message->visible = 1;
    } else if (data->shipType == 3 && !ShipUnlocked(data, 3)) {
        message->type = &Unlock3Type;
        message->visible = 1;
    }
}
