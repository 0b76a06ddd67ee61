// menu.cpp -- the main menu state, its buttons and highlight bar, the
// loading cover and the shared back button. Owns menuList.
#include "menu.h"

#include <stddef.h>

#include "menuinput.h"
#include "savedfiles.h"
#include "screens.h"
#include "soundbank.h"
#include "states.h"
#include "play/background.h"
#include "vtapplication.h"
#include "vtgraphics.h"
#include "vtinput.h"
#include "vtmath.h"

GameObject* menuList;

ObjectType MenuTutorialType, MenuTutorial2Type, MenuTitleType, MenuCursorType, MenuBlackHoleType;
ObjectType StartButtonType, OptionButtonType, CreditButtonType;
ObjectType BackButtonType;

enum { ROW_START = 1, ROW_OPTION = 2, ROW_CREDIT = 3, ROW_QUIT = 4, MENU_ROWS = 4 };

// The help panels' folder is spelled "MEssage" here; the file layer matches
// folder names without regard to case.
static const ScreenType menuTypes[] = {
    {&DummyType, "Graphic_Assets\\test.tga", NULL},
    {&MenuTutorialType, "Graphic_Assets\\MEssage\\menututorial.tga", NULL},
    {&MenuTutorial2Type, "Graphic_Assets\\MEssage\\menututorial2.tga", NULL},
    {&MenuTitleType, "Graphic_Assets\\Menu\\title.tga", NULL},
    {&StartButtonType, "Graphic_Assets\\Message\\StartButtonS.tga", StartButtonLogic},
    {&OptionButtonType, "Graphic_Assets\\Message\\OptionButtonS.tga", OptionButtonLogic},
    {&CreditButtonType, "Graphic_Assets\\Message\\CreditButtonS.tga", CreditButtonLogic},
    {&QuitButtonType, "Graphic_Assets\\Message\\QuitButtonS.tga", QuitButtonLogic},
    {&HomeEarthType, "Graphic_Assets\\Obstacle\\earth.tga", NULL},
    {&MenuCursorType, "Graphic_Assets\\Menu\\selectbutton.tga", MenuCursorLogic},
    {&BackgroundTileType, "Graphic_Assets\\Background\\background.tga", BackgroundTileLogic},
    {&StaticBackgroundType, "Graphic_Assets\\Background\\background.tga", NULL},
    {&MenuBlackHoleType, "Graphic_Assets\\Background\\blackhole.tga", NULL},
    {&BlackScreenType, "Graphic_Assets\\black.tga", NULL},
    {&LoadingScreenType, "Graphic_Assets\\Menu\\Loading.tga", NULL},
};
static const int menuTypeCount = (int)(sizeof menuTypes / sizeof menuTypes[0]);

void MenuLoad(GameData*)
{
    LoadScreenTypes(menuTypes, menuTypeCount);
}

// The buttons stand a tenth of the height apart from 7/20 of it down.
static float RowY(float H, int row)
{
    float top = 7.0f * H / 20.0f;
    if (row == ROW_OPTION)
        return top - H / 10.0f;
    if (row == ROW_CREDIT)
        return top - H / 5.0f;
    if (row == ROW_QUIT)
        return top - 3.0f * H / 10.0f;
    return top;
}

// A button is a sixth of the width wide; the selected one's lettering sits
// left of where the plain one's does.
static float ButtonWidth(float W) { return W / 6.0f; }
static float SelectedX(float W) { return W - ButtonWidth(W) * 15.0f / 26.0f; }

static void AddButton(ObjectType* type, int row, GameData* data)
{
    float W = data->screenWidth;
    GameObject* button = AddScreenObject(&menuList, type, W - W / 12.0f - 10.0f, RowY(data->screenHeight, row),
                                         ButtonWidth(W), W / 24.0f);
    AddTimer(button);
    button->timer->number = row;
}

static void BuildMenuList(GameData* data)
{
    float W = data->screenWidth;
    float H = data->screenHeight;
    AddScreenObject(&menuList, &DummyType, 0.0f, 0.0f, 0.0f, 0.0f);
    // Each panel sits on the one below it, the first in the bottom-left corner.
    AddScreenObject(&menuList, &MenuTutorialType, W / 4.0f, W / 32.0f, W / 2.0f, W / 16.0f);
    AddScreenObject(&menuList, &MenuTutorial2Type, W / 6.0f, W / 16.0f, W / 2.0f, W / 16.0f);

    GameObject* band = AddScreenObject(&menuList, &MenuBlackHoleType, W / 4.0f - 1.0f, W / 22.0f, W / 11.0f, W / 2.0f);
    band->transform->rotation = VTDegreeToRadian(270.0f);
    AddAppearance(band);
    band->appearance->alpha = 150.0f;

    AddScreenObject(&menuList, &MenuTitleType, 5.0f * W / 12.0f, 11.0f * H / 15.0f, 5.0f * W / 6.0f, 5.0f * W / 12.0f);
    AddButton(&StartButtonType, ROW_START, data);
    AddButton(&OptionButtonType, ROW_OPTION, data);
    AddButton(&CreditButtonType, ROW_CREDIT, data);
    AddButton(&QuitButtonType, ROW_QUIT, data);

    GameObject* earth = AddScreenObject(&menuList, &HomeEarthType, W / 8.0f, 0.0f, 1000.0f, 1000.0f);
    AddObjectState(earth);
    AddScreenObject(&menuList, &MenuCursorType, 0.0f, 0.0f, 0.0f, 0.0f);
    AddBackgroundTiler(&menuList);
}

void MenuInit(GameData* data)
{
    LoadTutorialFile(data);
    LoadUnlockShipFile(data);
    // Level 1 before the reset, so the record keeps the score and combo.
    data->level = 1;
    GameDataResetSession(data);
    data->menuIndex = ROW_START;
    BuildMenuList(data);
    // The first press acts at once.
    data->menuRepeatTimer = MENU_REPEAT_WAIT;
    if (data->soundOn == 1) {
        SoundBankInit();
        SoundPlay(MainSoundSystem, MenuMusicSound, &MenuMusicChannel);
    }
}

void MenuUpdate(GameData* data, float dt)
{
    ResetSavedFilesOnChord();
    if (VTInputIsTriggered(VT_KEY_ESCAPE) || VTInputIsTriggered(VT_KEY_PAD_BACK))
        VTSMQuit(1);
    MenuNavigate(data, MENU_ROWS);

    VTGraphicsStartDraw();
    VTApplicationShowCursor(0);
    for (GameObject* object = menuList; object; object = object->next) {
        object->type->logic(object, data, dt);
        DrawObject(*object);
        // The menu never scrolls: the tiles laid in the first frame stay.
        if (object->type == &BackgroundTileType)
            object->type = &StaticBackgroundType;
    }
    VTGraphicsEndDraw();
}

void MenuShutdown(GameData*)
{
    SoundBankReleaseMenu();
    FreeObjectList(&menuList);
}

void MenuUnload(GameData*)
{
    UnloadScreenTypes(menuTypes, menuTypeCount);
}

void MenuCursorLogic(GameObject* cursor, GameData* data, float)
{
    float W = data->screenWidth;
    float H = data->screenHeight;
    Transform* t = cursor->transform;
    int row = data->menuIndex;
    if (row < ROW_START || row > ROW_QUIT)
        return;
    // The quit button's lettering is shorter: a narrower bar further right.
    if (row == ROW_QUIT) {
        t->x = W - ButtonWidth(W) * 10.0f / 26.0f;
        t->scaleX = W / 8.0f;
    } else {
        t->x = SelectedX(W);
        t->scaleX = W / 5.0f;
    }
    t->y = RowY(H, row);
    t->scaleY = W / 20.0f;
    // Behind the button it marks.
    t->z = -0.5f;
}

// Sizes a button by whether its row is selected; 1 when it is and the
// player confirmed. The y position stays where Init put it.
static int MenuButtonChosen(GameObject* button, GameData* data)
{
    float W = data->screenWidth;
    Transform* t = button->transform;
    int chosen = 0;
    if (data->menuIndex != button->timer->number) {
        t->scaleX = ButtonWidth(W);
        t->x = W - 10.0f - ButtonWidth(W) * 0.5f;
    } else {
        t->scaleX = W / 5.0f;
        t->x = SelectedX(W);
        chosen = MenuReadConfirm() == MENU_CONFIRM;
    }
    t->scaleY = t->scaleX / 4.0f;
    return chosen;
}

static void ChangeStateFromMenu(GameObject* button, GameData* data, int state)
{
    if (data->soundOn == 1)
        SoundPlay(MainSoundSystem, MenuToStateSound, &EffectChannel);
    AddLoadingCover(button, data);
    VTSMSetNextState(state);
}

void StartButtonLogic(GameObject* button, GameData* data, float)
{
    if (MenuButtonChosen(button, data))
        ChangeStateFromMenu(button, data, STATE_SELECT);
}

void OptionButtonLogic(GameObject* button, GameData* data, float)
{
    if (MenuButtonChosen(button, data))
        ChangeStateFromMenu(button, data, STATE_OPTION);
}

void CreditButtonLogic(GameObject* button, GameData* data, float)
{
    if (MenuButtonChosen(button, data))
        ChangeStateFromMenu(button, data, STATE_CREDIT);
}

void QuitButtonLogic(GameObject* button, GameData* data, float)
{
    if (MenuButtonChosen(button, data))
        VTSMQuit(1);
}

void BackButtonLogic(GameObject* button, GameData* data, float)
{
    if (VTInputIsTriggered(VT_KEY_ESCAPE) || VTInputIsTriggered(VT_KEY_PAD_BACK)) {
        AddLoadingCover(button, data);
        VTSMSetNextState(STATE_MENU);
    }
}

void AddLoadingCover(GameObject* anchor, GameData* data)
{
    float W = data->screenWidth;
    float H = data->screenHeight;

    GameObject* at = anchor;
    AddObject(&at);
    GameObject* picture = anchor->next;
    picture->type = &LoadingScreenType;
    picture->screenSpace = 1;
    AddTransform(picture);
    // Its own half size in from the bottom-right corner.
    picture->transform->x = W - W / 10.0f;
    picture->transform->y = W / 40.0f;
    picture->transform->scaleX = W / 5.0f;
    picture->transform->scaleY = W / 20.0f;
    picture->transform->z = 1.0f;
    AddAppearance(picture);

    at = anchor;
    AddObject(&at);
    GameObject* dim = anchor->next;
    dim->type = &BlackScreenType;
    dim->screenSpace = 1;
    AddTransform(dim);
    dim->transform->x = W / 2.0f;
    dim->transform->y = H / 2.0f;
    dim->transform->scaleX = W;
    dim->transform->scaleY = H;
    dim->transform->z = 1.0f;
    AddAppearance(dim);
    dim->appearance->red = 0;
    dim->appearance->green = 0;
    dim->appearance->blue = 0;
    dim->appearance->alpha = 100.0f;
}
