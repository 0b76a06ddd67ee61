// options.cpp -- the options state, its cursor and the three value rows.
// Owns optionList.
#include "options.h"

#include <stddef.h>

#include "menu.h"
#include "menuinput.h"
#include "play/background.h"
#include "savedfiles.h"
#include "screens.h"
#include "soundbank.h"
#include "vtapplication.h"
#include "vtgraphics.h"
#include "vtinput.h"
#include "vtmath.h"
#include "vtstatemanager.h"

GameObject* optionList;

ObjectType OptionCursorType, OptionTutorialType, OptionTutorial2Type, OptionTitleType;
ObjectType FullscreenLabelType, SoundLabelType, ResolutionLabelType;
ObjectType FullscreenOnType, FullscreenOffType, SoundOnType, SoundOffType;
ObjectType ResolutionHDType, ResolutionFHDType, ResolutionSDType, OptionShipType;

enum { ROW_FULLSCREEN = 1, ROW_SOUND = 2, ROW_RESOLUTION = 3, OPTION_ROWS = 3 };
enum { CHANGE_NONE, CHANGE_FORWARD, CHANGE_BACKWARD };

// ON and OFF are loaded once per row so each row's types carry its logic.
static const ScreenType optionTypes[] = {
    {&DummyType, "Graphic_Assets\\test.tga", NULL},
    {&OptionCursorType, "Graphic_Assets\\Menu\\selectbutton.tga", OptionCursorLogic},
    {&OptionTutorialType, "Graphic_Assets\\Message\\OptionTutorial.tga", NULL},
    {&OptionTutorial2Type, "Graphic_Assets\\Message\\OptionTutorial2.tga", NULL},
    {&OptionTitleType, "Graphic_Assets\\Message\\OptionTitle.tga", NULL},
    {&FullscreenLabelType, "Graphic_Assets\\Message\\OptionFullscreen.tga", NULL},
    {&SoundLabelType, "Graphic_Assets\\Message\\OptionSound.tga", NULL},
    {&ResolutionLabelType, "Graphic_Assets\\Message\\OptionResolution.tga", NULL},
    {&FullscreenOnType, "Graphic_Assets\\Menu\\OptionON.tga", FullscreenToggleLogic},
    {&FullscreenOffType, "Graphic_Assets\\Menu\\OptionOFF.tga", FullscreenToggleLogic},
    {&SoundOnType, "Graphic_Assets\\Menu\\OptionON.tga", SoundToggleLogic},
    {&SoundOffType, "Graphic_Assets\\Menu\\OptionOFF.tga", SoundToggleLogic},
    {&ResolutionHDType, "Graphic_Assets\\Menu\\OptionHD.tga", ResolutionCycleLogic},
    {&ResolutionFHDType, "Graphic_Assets\\Menu\\OptionFHD.tga", ResolutionCycleLogic},
    {&ResolutionSDType, "Graphic_Assets\\Menu\\OptionSD.tga", ResolutionCycleLogic},
    {&OptionShipType, "Graphic_Assets\\SpaceShip\\ship1.tga", NULL},
    {&BackButtonType, "Graphic_Assets\\Message\\BackButton.tga", BackButtonLogic},
    {&BackgroundTileType, "Graphic_Assets\\Background\\background.tga", BackgroundTileLogic},
    {&StaticBackgroundType, "Graphic_Assets\\Background\\background.tga", NULL},
    {&BlackScreenType, "Graphic_Assets\\black.tga", NULL},
    {&LoadingScreenType, "Graphic_Assets\\Menu\\Loading.tga", NULL},
};
static const int optionTypeCount = (int)(sizeof optionTypes / sizeof optionTypes[0]);

// Indexed by the resolution option: SD, HD, FHD.
static ObjectType* const resolutionTypes[3] = {&ResolutionSDType, &ResolutionHDType, &ResolutionFHDType};
static const int resolutionSizes[3][2] = {{1024, 768}, {1280, 720}, {1920, 1080}};

// Any value but SD and FHD stands for HD, as when the option file is read.
static int ResolutionIndex(int resolution)
{
    return resolution == 0 || resolution == 2 ? resolution : 1;
}

void OptionLoad(GameData*)
{
    LoadScreenTypes(optionTypes, optionTypeCount);
}

static void AddValue(ObjectType* type, int row, float y, float W)
{
    GameObject* value = AddScreenObject(&optionList, type, W / 2.0f, y, W / 5.0f, W / 20.0f);
    AddTimer(value);
    value->timer->number = row;
    value->timer->flag = 0;
}

static const PlacementRow optionRows[] = {
    {&DummyType, PLACE_SCREEN, 0.0f, 0.0f, 0.0f, 0.0f},
    // Created first, so drawn last: over the value it marks.
    {&OptionCursorType, PLACE_SCREEN, 0.0f, 0.0f, 0.0f, 0.0f},
    {&OptionTutorialType, PLACE_SCREEN, OfW(1, 4), OfW(1, 32), OfW(1, 2), OfW(1, 16)},
    {&OptionTutorial2Type, PLACE_SCREEN, OfW(1, 14), OfW(5, 64), OfW(1, 2), OfW(1, 16)},
    {&OptionTitleType, PLACE_SCREEN, OfW(1, 5), OfH(13, 16), OfW(1, 3), OfH(1, 3)},
    {&FullscreenLabelType, PLACE_SCREEN, OfW(11, 50), OfH(14, 24), OfW(1, 3), OfW(1, 12)},
    {&SoundLabelType, PLACE_SCREEN, OfW(9, 50), OfH(11, 24), OfW(1, 4), OfW(1, 12)},
    {&ResolutionLabelType, PLACE_SCREEN, OfW(9, 50), OfH(8, 24), OfW(1, 4), OfW(1, 12)},
};
// Never drawn: it only listens for escape and pad back.
static const PlacementRow backRow = {&BackButtonType, PLACE_HIDDEN, 0.0f, 0.0f, 10.0f, 10.0f};

static void BuildOptionList(GameData* data)
{
    float W = data->screenWidth;
    float H = data->screenHeight;
    PlaceRows(&optionList, optionRows, data);

    AddValue(data->fullScreen == 1 ? &FullscreenOnType : &FullscreenOffType, ROW_FULLSCREEN, 14.0f * H / 24.0f, W);
    AddValue(data->soundOn == 1 ? &SoundOnType : &SoundOffType, ROW_SOUND, 11.0f * H / 24.0f, W);
    AddValue(resolutionTypes[ResolutionIndex(data->resolution)], ROW_RESOLUTION, 8.0f * H / 24.0f, W);

    GameObject* ship = AddScreenObject(&optionList, &OptionShipType, 7.0f * W / 9.0f, H / 2.0f, W / 3.0f, W / 6.0f);
    ship->transform->rotation = VT_HALF_PI;
    AddAppearance(ship);

    PlaceRow(&optionList, &backRow, data);
    AddBackgroundTiler(&optionList);
}

void OptionInit(GameData* data)
{
    // menuRepeatTimer keeps the reset's 0: after every entry and restart the
    // rows hold still for 15 frames.
    GameDataResetSession(data);
    data->menuIndex = ROW_FULLSCREEN;
    BuildOptionList(data);
    if (data->soundOn == 1) {
        SoundBankInit();
        SoundPlay(MainSoundSystem, MenuMusicSound, &MenuMusicChannel);
    }
}

void OptionUpdate(GameData* data, float dt)
{
    MenuNavigate(data, OPTION_ROWS);
    VTGraphicsStartDraw();
    VTApplicationShowCursor(0);
    WalkScreenObjects(optionList, data, dt);
    VTGraphicsEndDraw();
}

void OptionShutdown(GameData* data)
{
    SoundBankReleaseMenu();
    FreeObjectList(&optionList);
    SaveOptionFile(data);
}

void OptionUnload(GameData*)
{
    UnloadScreenTypes(optionTypes, optionTypeCount);
}

void OptionCursorLogic(GameObject* cursor, GameData* data, float)
{
    float W = data->screenWidth;
    float H = data->screenHeight;
    static const float rowHeights[OPTION_ROWS] = {14.0f, 11.0f, 8.0f}; // in 24ths of H
    int row = data->menuIndex;
    if (row < ROW_FULLSCREEN || row > ROW_RESOLUTION)
        return;
    Transform* t = cursor->transform;
    t->x = W / 2.0f;
    t->y = rowHeights[row - 1] * H / 24.0f;
    t->scaleX = W / 6.0f;
    t->scaleY = H / 8.0f;
}

// What the player asks of a value row this frame. Only the selected row
// listens, and not while its stick latch is set.
static int ReadValueChange(GameObject* value, GameData* data)
{
    int change = CHANGE_NONE;
    if (data->menuIndex == value->timer->number && value->timer->flag == 0) {
        int stick = MenuReadStickLeftRight();
        if (VTInputIsTriggered(VT_KEY_RIGHT) || VTInputIsTriggered(VT_KEY_SPACE) ||
            VTInputIsTriggered(VT_KEY_ENTER) || VTInputIsTriggered(VT_KEY_PAD_A) || stick == MENU_DIR_RIGHT)
            change = CHANGE_FORWARD;
        else if (VTInputIsTriggered(VT_KEY_LEFT) || stick == MENU_DIR_LEFT)
            change = CHANGE_BACKWARD;
    }
    return change;
}

// Keys set the latch too, but it falls again at once unless a stick is
// held to the side: a held stick changes a value once per push.
static void ReleaseLatch(GameObject* value)
{
    if (MenuReadStickLeftRight() == MENU_DIR_NONE)
        value->timer->flag = 0;
}

void ToggleFullScreenOption(GameData* data)
{
    data->fullScreen = data->fullScreen == 1 ? 0 : 1;
    VTApplicationSetFullScreen(data->fullScreen);
}

void FullScreenKeyPressed(void)
{
    GameData* data = VTSMGetGameData();
    if (data) {
        ToggleFullScreenOption(data);
        SaveOptionFile(data);
    }
}

void FullscreenToggleLogic(GameObject* value, GameData* data, float)
{
    if (ReadValueChange(value, data) != CHANGE_NONE) {
        ToggleFullScreenOption(data);
        value->timer->flag = 1;
    }
    // Follows the record, which the full-screen keys may also change.
    value->type = data->fullScreen == 1 ? &FullscreenOnType : &FullscreenOffType;
    ReleaseLatch(value);
}

void SoundToggleLogic(GameObject* value, GameData* data, float)
{
    if (ReadValueChange(value, data) != CHANGE_NONE) {
        value->type = data->soundOn != 0 ? &SoundOffType : &SoundOnType;
        data->soundOn = data->soundOn == 0 ? 1 : 0;
        value->timer->flag = 1;
        // The restart's Shutdown stops the music; its Init starts it only if on.
        VTSMRestartState(1);
    }
    ReleaseLatch(value);
}

void ResolutionCycleLogic(GameObject* value, GameData* data, float)
{
    int change = ReadValueChange(value, data);
    if (change != CHANGE_NONE) {
        int current = ResolutionIndex(data->resolution);
        int next = change == CHANGE_FORWARD ? (current + 1) % 3 : (current + 2) % 3;
        value->timer->flag = 1;
        value->type = resolutionTypes[next];
        data->resolution = next;
        // A full-screen display takes a new size only from the desktop mode.
        if (data->fullScreen != 0)
            VTApplicationSetFullScreen(0);
        VTApplicationSetResolution(resolutionSizes[next][0], resolutionSizes[next][1]);
        if (data->fullScreen != 0)
            VTApplicationSetFullScreen(1);
        // Init reads the new window size and lays the screen out again.
        VTSMRestartState(1);
    }
    ReleaseLatch(value);
}
