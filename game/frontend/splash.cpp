// splash.cpp -- the two logo screens. Owns splashList and logoList.
#include "splash.h"

#include <stddef.h>

#include "play/background.h"
#include "screens.h"
#include "states.h"
#include "vtapplication.h"
#include "vtgraphics.h"

GameObject* splashList;
GameObject* logoList;

ObjectType SplashLogoType, TeamLogoType, FmodLogoType;

static const ScreenType splashTypes[] = {
    {&DummyType, "Graphic_Assets\\test.tga", NULL},
    {&BackgroundTileType, "Graphic_Assets\\Background\\background.tga", BackgroundTileLogic},
    {&StaticBackgroundType, "Graphic_Assets\\Background\\background.tga", NULL},
    {&SplashLogoType, "Graphic_Assets\\Message\\quenlowwhite.tga", NULL},
};
static const int splashTypeCount = (int)(sizeof splashTypes / sizeof splashTypes[0]);

static const ScreenType logoTypes[] = {
    {&DummyType, "Graphic_Assets\\test.tga", NULL},
    {&TeamLogoType, "Graphic_Assets\\Message\\tovrak.tga", TeamLogoLogic},
    {&FmodLogoType, "Graphic_Assets\\Message\\fmodLogo.tga", NULL},
    {&BackgroundTileType, "Graphic_Assets\\Background\\background.tga", BackgroundTileLogic},
    {&StaticBackgroundType, "Graphic_Assets\\Background\\background.tga", NULL},
};
static const int logoTypeCount = (int)(sizeof logoTypes / sizeof logoTypes[0]);

// Head, logo centred, then the background behind the head: drawn first,
// under the logo.
static void BuildLogoList(GameObject** list, GameData* data, ObjectType* logo, float width, float height)
{
    AddScreenObject(list, &DummyType, 0.0f, 0.0f, 0.0f, 0.0f);
    AddScreenObject(list, logo, data->screenWidth / 2.0f, data->screenHeight / 2.0f, width, height);
    AddBackgroundTiler(list);
}

// Time is the sum of the frames' dt, so the time Load took is not counted.
static void UpdateLogoScreen(GameObject* list, GameData* data, float dt, float duration, int nextState)
{
    data->stateTimer += dt;
    if (data->stateTimer > duration)
        VTSMSetNextState(nextState);
    VTGraphicsStartDraw();
    VTApplicationShowCursor(0);
    WalkScreenObjects(list, data, dt);
    VTGraphicsEndDraw();
}

void SplashLoad(GameData*)
{
    LoadScreenTypes(splashTypes, splashTypeCount);
}

void SplashInit(GameData* data)
{
    GameDataResetSession(data);
    data->stateTimer = 0.0f;
    float W = data->screenWidth;
    BuildLogoList(&splashList, data, &SplashLogoType, 2.0f * W / 3.0f, W / 6.0f);
}

void SplashUpdate(GameData* data, float dt)
{
    UpdateLogoScreen(splashList, data, dt, 2.0f, STATE_LOGO);
}

void SplashShutdown(GameData*)
{
    FreeObjectList(&splashList);
}

void SplashUnload(GameData*)
{
    UnloadScreenTypes(splashTypes, splashTypeCount);
}

void LogoLoad(GameData*)
{
    LoadScreenTypes(logoTypes, logoTypeCount);
}

void LogoInit(GameData* data)
{
    GameDataResetSession(data);
    data->stateTimer = 0.0f;
    float W = data->screenWidth;
    BuildLogoList(&logoList, data, &TeamLogoType, W / 2.0f, W / 2.0f);
}

void LogoUpdate(GameData* data, float dt)
{
    UpdateLogoScreen(logoList, data, dt, 4.0f, STATE_MENU);
}

void LogoShutdown(GameData*)
{
    FreeObjectList(&logoList);
}

void LogoUnload(GameData*)
{
    UnloadScreenTypes(logoTypes, logoTypeCount);
}

void TeamLogoLogic(GameObject* logo, GameData* data, float)
{
    if (data->stateTimer > 2.0f) {
        logo->type = &FmodLogoType;
        logo->transform->scaleY *= 0.5f;
    }
}
